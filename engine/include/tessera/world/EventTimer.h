// Sent straight to an object when one of its step timers runs out.
#ifndef TS_EVENT_TIMER_H
#define TS_EVENT_TIMER_H

#include <string>

#include <tessera/core/Event.h>

namespace ts {

/// A "ts-timer" event: the timer named by getName() of the receiving object
/// has run out (see Object::setTimer()).
class EventTimer : public Event {
 public:
  /// A "ts-timer" event for the timer called `name`.
  explicit EventTimer(std::string name);
  /// The name the object gave the timer.
  std::string getName() const { return m_name; }

 private:
  std::string m_name;
};

}  // namespace ts

#endif
