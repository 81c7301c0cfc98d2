// Waypoints an object follows, with a cursor at the next one to reach.
#ifndef TS_PATH_H
#define TS_PATH_H

#include <sstream>
#include <string>
#include <vector>

#include <tessera/core/Vector.h>

namespace ts {

class Path {
 public:
  Path();
  // The cursor is left where it is.
  void setWaypoints(const std::vector<Vector> &waypoints) { m_waypoints = waypoints; }
  std::vector<Vector> getWaypoints() const { return m_waypoints; }
  int getIndex() const { return m_index; }
  bool isDone() const;
  // The next waypoint, or (0, 0) when done.
  Vector getWaypoint() const;
  // Moves the cursor on (never past the end) and returns the path as it now is.
  Path advance();
  std::string toString() const;
  int serialize(std::stringstream &stream) const;
  int deserialize(std::stringstream &stream);

 private:
  std::vector<Vector> m_waypoints;
  int m_index;
};

}  // namespace ts

#endif
