#include <tessera/world/Path.h>

#include <cstdint>

#include <tessera/core/LogManager.h>
#include <tessera/core/Stream.h>
#include <tessera/system/Text.h>

namespace ts {

Path::Path() : m_index(0) {}

bool Path::isDone() const { return m_index >= static_cast<int>(m_waypoints.size()); }

Vector Path::getWaypoint() const {
  if (isDone()) return Vector();
  return m_waypoints[static_cast<size_t>(m_index)];
}

Path Path::advance() {
  if (!isDone()) ++m_index;
  return *this;
}

std::string Path::toString() const {
  std::string text;
  for (const Vector &waypoint : m_waypoints) text += waypoint.toString() + "|";
  return text;
}

int Path::serialize(std::stringstream &stream) const {
  uint64_t count = m_waypoints.size();
  writeRaw(stream, count);
  for (const Vector &waypoint : m_waypoints) waypoint.serialize(stream);
  return streamCheck("Path::serialize()", stream);
}

int Path::deserialize(std::stringstream &stream) {
  uint64_t count = 0;
  readRaw(stream, count);
  m_waypoints.clear();
  int32_t n = static_cast<int32_t>(count);
  // Each waypoint takes 8 bytes: a count the stream cannot hold is refused
  // before anything is allocated for it.
  if (n > 0 && static_cast<uint64_t>(n) > bytesRemaining(stream) / 8) {
    LogManager::getInstance().writeLog("Path::deserialize(): Error! Cannot allocate %d waypoints.", n);
    stream.setstate(std::ios::failbit);
    return streamCheck("Path::deserialize()", stream);
  }
  for (int32_t i = 0; i < n; ++i) {
    Vector waypoint(0, 0);
    waypoint.deserialize(stream);
    m_waypoints.push_back(waypoint);
  }
  return streamCheck("Path::deserialize()", stream);
}

}  // namespace ts
