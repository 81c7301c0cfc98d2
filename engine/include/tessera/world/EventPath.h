// The outcome of a path search: status 0 no path, 1 searching, 2 found.
#ifndef TS_EVENT_PATH_H
#define TS_EVENT_PATH_H

#include <tessera/core/Event.h>
#include <tessera/world/Path.h>

namespace ts {

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
