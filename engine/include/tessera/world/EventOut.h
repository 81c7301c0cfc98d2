/// @file
/// EventOut, "ts-out".
#ifndef TS_EVENT_OUT_H
#define TS_EVENT_OUT_H

#include <tessera/core/Event.h>

namespace ts {

/// Sent by the world manager straight to an object whose box has left the
/// world boundary (no registration needed).
class EventOut : public Event {
 public:
  /// An event of type OUT_EVENT.
  EventOut();
};

}  // namespace ts

#endif
