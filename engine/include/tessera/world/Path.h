/// @file
/// Path, waypoints an object follows.
#ifndef TS_PATH_H
#define TS_PATH_H

#include <sstream>
#include <string>
#include <vector>

#include <tessera/core/Vector.h>

namespace ts {

/// Waypoints (world cells) an object follows, with a cursor at the next one to reach.
class Path {
 public:
  /// No waypoints, the cursor at 0 (done).
  Path();
  /// Sets the waypoints; the cursor is left where it is.
  void setWaypoints(const std::vector<Vector> &waypoints) { m_waypoints = waypoints; }
  /// A copy of the waypoints.
  std::vector<Vector> getWaypoints() const { return m_waypoints; }
  /// The cursor: the index of the next waypoint.
  int getIndex() const { return m_index; }
  /// Whether the cursor is past the last waypoint.
  bool isDone() const;
  /// The next waypoint, or (0, 0) when done.
  Vector getWaypoint() const;
  /// Moves the cursor on (never past the end) and returns the path as it now is.
  Path advance();
  /// The waypoints as "(x,y)|(x,y)|", for log lines.
  std::string toString() const;
  /// Appends the count and the waypoints; 0, or -1 with a log line when the stream failed.
  int serialize(std::stringstream &stream) const;
  /// Replaces the waypoints with those read; 0, or -1 with a log line on a short
  /// stream or a count the stream cannot hold ("Path::deserialize(): Error!
  /// Cannot allocate N waypoints.").
  int deserialize(std::stringstream &stream);

 private:
  std::vector<Vector> m_waypoints;
  int m_index;
};

}  // namespace ts

#endif
