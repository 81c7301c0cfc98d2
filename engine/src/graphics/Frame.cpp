#include <tessera/graphics/Frame.h>

#include <tessera/graphics/DisplayManager.h>

namespace ts {

Frame::Frame() : m_width(0), m_height(0) {}

Frame::Frame(int width, int height, std::string frame_str) : m_width(width), m_height(height), m_frame_str(frame_str) {}

int Frame::draw(Vector position, Color color, char transparency) const {
  if (m_frame_str.empty()) return 0;
  // A frame made by other means than the loaders may be short; draw only
  // the characters that exist.
  if (m_width <= 0 || m_height <= 0 ||
      m_frame_str.size() < static_cast<size_t>(m_width) * static_cast<size_t>(m_height))
    return 0;
  float x_offset = (m_width - 1) * 0.5f;
  float y_offset = (m_height - 1) * 0.5f;
  DisplayManager &display = DisplayManager::getInstance();
  for (int y = 0; y < m_height; ++y) {
    for (int x = 0; x < m_width; ++x) {
      char c = m_frame_str[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
      if (transparency != 0 && c == transparency) continue;
      Vector cell(position.getX() + x - x_offset, position.getY() + y - y_offset);
      if (display.drawCh(cell, c, color, 0) != 0) return -1;
    }
  }
  return 0;
}

}  // namespace ts
