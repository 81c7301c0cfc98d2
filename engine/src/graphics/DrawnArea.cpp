#include "graphics/DrawnArea.h"

#include <algorithm>
#include <cmath>

namespace ts {

DrawnArea::DrawnArea() : m_columns(0), m_rows(0), m_all(false) {}

void DrawnArea::reset(int width, int height) {
  m_columns = width > 0 ? (width + TILE - 1) / TILE : 0;
  m_rows = height > 0 ? (height + TILE - 1) / TILE : 0;
  m_tiles.assign(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows), 0);
  m_all = false;
}

bool DrawnArea::tileRange(const PixelBox &box, int &x0, int &y0, int &x1, int &y1) const {
  // Whole pixels the box may touch: from floor(left) up to ceil(right).
  const float left = std::floor(box.left), top = std::floor(box.top);
  const float right = std::ceil(box.right), bottom = std::ceil(box.bottom);
  if (!(right > 0 && bottom > 0 && left < static_cast<float>(m_columns * TILE) &&
        top < static_cast<float>(m_rows * TILE) && left < right && top < bottom))
    return false;
  x0 = std::max(0, static_cast<int>(left) / TILE);
  y0 = std::max(0, static_cast<int>(top) / TILE);
  x1 = std::min(m_columns - 1, (static_cast<int>(right) - 1) / TILE);
  y1 = std::min(m_rows - 1, (static_cast<int>(bottom) - 1) / TILE);
  return true;
}

void DrawnArea::mark(const PixelBox &box) {
  if (m_all) return;
  int x0, y0, x1, y1;
  if (!tileRange(box, x0, y0, x1, y1)) return;
  for (int y = y0; y <= y1; ++y) std::fill_n(m_tiles.begin() + static_cast<long>(y) * m_columns + x0, x1 - x0 + 1, 1);
}

bool DrawnArea::clip(PixelBox &box) const {
  if (m_all) return true;
  int x0, y0, x1, y1;
  if (!tileRange(box, x0, y0, x1, y1)) return false;
  int first_x = x1 + 1, last_x = x0 - 1, first_y = y1 + 1, last_y = y0 - 1;
  for (int y = y0; y <= y1; ++y) {
    const unsigned char *row = &m_tiles[static_cast<size_t>(y) * static_cast<size_t>(m_columns)];
    for (int x = x0; x <= x1; ++x) {
      if (!row[x]) continue;
      first_x = std::min(first_x, x);
      last_x = std::max(last_x, x);
      first_y = std::min(first_y, y);
      last_y = std::max(last_y, y);
    }
  }
  if (last_x < first_x) return false;
  // Edges on whole pixels lie between pixel centres, so the narrowed box
  // covers exactly the pixels of the original box inside those edges.
  box.left = std::max(box.left, static_cast<float>(first_x * TILE));
  box.top = std::max(box.top, static_cast<float>(first_y * TILE));
  box.right = std::min(box.right, static_cast<float>((last_x + 1) * TILE));
  box.bottom = std::min(box.bottom, static_cast<float>((last_y + 1) * TILE));
  return true;
}

}  // namespace ts
