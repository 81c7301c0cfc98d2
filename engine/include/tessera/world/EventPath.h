// The outcome of a path search, delivered to the object that asked for it.
#ifndef TS_EVENT_PATH_H
#define TS_EVENT_PATH_H

#include <tessera/core/Event.h>
#include <tessera/world/Path.h>

namespace ts {

// Status of a path search; the event carries it as an int.
enum PathStatus : int { PATH_NOT_FOUND = 0, PATH_SEARCHING = 1, PATH_FOUND = 2 };

class EventPath : public Event {
 public:
  EventPath();
  void setStatus(int status) { m_status = status; }
  int getStatus() const { return m_status; }
  void setPath(Path path) { m_path = path; }
  Path getPath() const { return m_path; }

 private:
  int m_status;
  Path m_path;
};

}  // namespace ts

#endif
