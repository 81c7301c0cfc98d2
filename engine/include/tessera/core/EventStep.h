/// @file
/// EventStep, the once-per-frame event.
#ifndef TS_EVENT_STEP_H
#define TS_EVENT_STEP_H

#include <tessera/core/Event.h>

namespace ts {

/// Sent once per frame by the game manager to every object registered for
/// STEP_EVENT, carrying the frame's step count.
class EventStep : public Event {
 public:
  /// A step event for frame step_count.
  explicit EventStep(int step_count);
  /// The number of the frame (0 in the first frame).
  int getStepCount() const { return m_step_count; }

 private:
  int m_step_count;
};

}  // namespace ts

#endif
