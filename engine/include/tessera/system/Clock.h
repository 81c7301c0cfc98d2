/// @file
/// The stopwatch Clock and the monotonic clock with a sleep until a deadline.
#ifndef TS_CLOCK_H
#define TS_CLOCK_H

#include <cstdint>

namespace ts {

/// A stopwatch in microseconds on the monotonic clock. Results are 32-bit and
/// wrap, so a difference is right for any interval under about 71 minutes.
class Clock {
 public:
  /// Starts timing now.
  Clock();
  /// Time since the previous delta() (or construction); restarts the clock.
  int32_t delta();
  /// Time since the previous delta() (or construction); the clock runs on.
  int32_t split() const;

 private:
  static int32_t now();
  int32_t m_previous_time;
};

/// The monotonic clock in microseconds (from an arbitrary start; never goes back).
int64_t monotonicMicroseconds();
/// Sleeps until deadline on the monotonicMicroseconds() clock. A past deadline
/// returns at once, and so does a sleep once the game has caught a stop signal.
void sleepUntilMicroseconds(int64_t deadline);

}  // namespace ts

#endif
