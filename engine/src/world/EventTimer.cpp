#include <tessera/world/EventTimer.h>

#include <utility>

namespace ts {

EventTimer::EventTimer(std::string name) : m_name(std::move(name)) { setType(TIMER_EVENT); }

}  // namespace ts
