#include <tessera/graphics/Sprite.h>

#include <new>

#include <tessera/core/LogManager.h>

namespace ts {

Sprite::Sprite(int max_frames)
    : m_width(0),
      m_height(0),
      m_max_frame_count(0),
      m_frame_count(0),
      m_color(COLOR_DEFAULT),
      m_slowdown(1),
      m_transparency(0),
      m_label("[Undefined]") {
  if (max_frames <= 0) return;
  try {
    m_frame.resize(static_cast<size_t>(max_frames));
  } catch (const std::bad_alloc &) {
    LogManager::getInstance().writeLog("Sprite::Sprite(): Error! Unable to allocate %d frames.", max_frames);
    return;
  }
  m_max_frame_count = max_frames;
}

Sprite::~Sprite() {}

int Sprite::addFrame(Frame frame) {
  if (m_frame_count >= m_max_frame_count) return -1;
  m_frame[static_cast<size_t>(m_frame_count++)] = frame;
  return 0;
}

Frame Sprite::getFrame(int index) const {
  if (index < 0 || index >= m_frame_count) return Frame();
  return m_frame[static_cast<size_t>(index)];
}

int Sprite::draw(int index, Vector position, char transparency) const {
  return getFrame(index).draw(position, m_color, transparency);
}

int Sprite::draw(int index, Vector position, char transparency, std::optional<Color> color) const {
  return getFrame(index).draw(position, color.value_or(m_color), transparency);
}

}  // namespace ts
