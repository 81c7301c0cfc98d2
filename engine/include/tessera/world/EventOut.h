// Sent straight to an object whose box has left the world boundary.
#ifndef TS_EVENT_OUT_H
#define TS_EVENT_OUT_H

#include <tessera/core/Event.h>

namespace ts {

class EventOut : public Event {
 public:
  EventOut();
};

}  // namespace ts

#endif
