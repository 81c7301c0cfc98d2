#include <tessera/system/Clock.h>

#include "platform/Platform.h"

namespace ts {

Clock::Clock() : m_previous_time(now()) {}

int32_t Clock::now() { return static_cast<int32_t>(static_cast<uint32_t>(monotonicMicroseconds())); }

static int32_t wrappedDifference(int32_t later, int32_t earlier) {
  return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

int32_t Clock::delta() {
  int32_t current = now();
  int32_t elapsed = wrappedDifference(current, m_previous_time);
  m_previous_time = current;
  return elapsed;
}

int32_t Clock::split() const { return wrappedDifference(now(), m_previous_time); }

int64_t monotonicMicroseconds() { return platform::monotonicMicroseconds(); }

void sleepUntilMicroseconds(int64_t deadline) { platform::sleepUntilMicroseconds(deadline); }

}  // namespace ts
