#include "graphics/CellBuffer.h"

#include <algorithm>

namespace ts {

CellBuffer::CellBuffer() : m_width(0), m_height(0), m_blank{' ', {255, 255, 255}, {0, 0, 0}} {}

void CellBuffer::resize(int width, int height, Rgb background) {
  m_width = std::max(0, width);
  m_height = std::max(0, height);
  m_blank = Cell{' ', {255, 255, 255}, background};
  m_cells.assign(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), m_blank);
}

void CellBuffer::clear() { std::fill(m_cells.begin(), m_cells.end(), m_blank); }

void CellBuffer::set(int x, int y, const Cell &cell) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  m_cells[static_cast<size_t>(y) * static_cast<size_t>(m_width) + x] = cell;
}

}  // namespace ts
