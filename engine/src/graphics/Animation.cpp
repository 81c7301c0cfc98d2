#include <tessera/graphics/Animation.h>

#include <cinttypes>
#include <cstdint>

#include <tessera/core/LogManager.h>
#include <tessera/core/Stream.h>
#include <tessera/system/Text.h>

namespace ts {

Animation::Animation() : m_p_sprite(nullptr), m_index(0), m_slowdown_count(0) {}

void Animation::setSprite(Sprite *sprite) {
  if (sprite) m_name = sprite->getLabel();
  m_p_sprite = sprite;
  m_index = 0;
}

int Animation::draw(Vector position, std::optional<Color> color) {
  if (!m_p_sprite) return 0;
  int result = m_p_sprite->draw(m_index, position, m_p_sprite->getTransparency(), color);
  if (m_slowdown_count == -1) return result;
  ++m_slowdown_count;
  if (m_slowdown_count < m_p_sprite->getSlowdown()) return result;
  m_slowdown_count = 0;
  ++m_index;
  if (m_index >= m_p_sprite->getFrameCount()) m_index = 0;
  return result;
}

Box Animation::getBox() const {
  if (!m_p_sprite) return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  float width = static_cast<float>(m_p_sprite->getWidth());
  float height = static_cast<float>(m_p_sprite->getHeight());
  return Box(Vector(width * -1.0f * 0.5f, height * -1.0f * 0.5f), width, height);
}

std::string Animation::toString() const { return "sprite " + m_name + ", frame_idx " + ts::toString(m_index); }

int Animation::serialize(std::stringstream &stream) const {
  writeString(stream, m_name);
  return writeRecord(stream, "Animation::serialize()", m_index, m_slowdown_count);
}

int Animation::deserialize(std::stringstream &stream) {
  uint64_t length = 0;
  readRaw(stream, length);
  // A length beyond what the stream holds cannot be a real name: refuse it
  // instead of allocating whatever a damaged stream claims.
  if (!stream.good()) return streamCheck("Animation::deserialize()", stream);
  if (length > bytesRemaining(stream)) {
    LogManager::getInstance().writeLog("Animation::deserialize(): Error! Cannot allocate %" PRIu64 " bytes.", length);
    return -1;
  }
  std::string name(static_cast<size_t>(length), '\0');
  if (length > 0) stream.read(&name[0], static_cast<std::streamsize>(length));
  m_name = name.c_str();
  return readRecord(stream, "Animation::deserialize()", m_index, m_slowdown_count);
}

}  // namespace ts
