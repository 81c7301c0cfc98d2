/// @file
/// EventPath, "ts-path", and the status of a path search.
#ifndef TS_EVENT_PATH_H
#define TS_EVENT_PATH_H

#include <tessera/core/Event.h>
#include <tessera/world/Path.h>

namespace ts {

/// Status of a path search; the event carries it as an int.
enum PathStatus : int { PATH_NOT_FOUND = 0, PATH_SEARCHING = 1, PATH_FOUND = 2 };

/// The outcome of a path search, delivered straight to the object that asked
/// for it (Object::eventHandler() takes a found path and follows it).
class EventPath : public Event {
 public:
  /// Status PATH_SEARCHING, an empty path.
  EventPath();
  /// Sets the PathStatus.
  void setStatus(int status) { m_status = status; }
  /// The PathStatus.
  int getStatus() const { return m_status; }
  /// Sets the path found.
  void setPath(Path path) { m_path = path; }
  /// The path found (empty unless PATH_FOUND).
  Path getPath() const { return m_path; }

 private:
  int m_status;
  Path m_path;
};

}  // namespace ts

#endif
