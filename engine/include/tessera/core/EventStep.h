// Sent once per frame by the game manager, carrying the frame's step count.
#ifndef TS_EVENT_STEP_H
#define TS_EVENT_STEP_H

#include <tessera/core/Event.h>

namespace ts {

class EventStep : public Event {
 public:
  explicit EventStep(int step_count);
  int getStepCount() const { return m_step_count; }

 private:
  int m_step_count;
};

}  // namespace ts

#endif
