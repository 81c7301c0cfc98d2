#include <tessera/core/Box.h>

#include <tessera/core/Stream.h>
#include <tessera/system/Text.h>

namespace ts {

Box::Box() : m_corner(), m_horizontal(0), m_vertical(0) {}
Box::Box(Vector corner, float horizontal, float vertical)
    : m_corner(corner), m_horizontal(horizontal), m_vertical(vertical) {}

bool Box::operator==(const Box &other) const {
  return m_corner == other.m_corner && m_horizontal == other.m_horizontal && m_vertical == other.m_vertical;
}

std::string Box::toString() const {
  return m_corner.toString() + " h: " + ts::toString(m_horizontal) + " v: " + ts::toString(m_vertical);
}

int Box::serialize(std::stringstream &stream) const {
  m_corner.serialize(stream);
  return writeRecord(stream, "Box::serialize()", m_horizontal, m_vertical);
}

int Box::deserialize(std::stringstream &stream) {
  m_corner.deserialize(stream);
  return readRecord(stream, "Box::deserialize()", m_horizontal, m_vertical);
}

}  // namespace ts
