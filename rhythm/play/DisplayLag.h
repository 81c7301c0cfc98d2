// How long after its notes were placed a picture reaches the player's eyes:
// the notes take their rows at the step event, the frame is drawn, and the
// display puts it on screen at the next frame's buffer swap. Kept as the mean
// over the last few frames of (time shown - time placed); before any frame
// has been shown it is one frame, as the frame loop's order implies.
#ifndef RHYTHM_DISPLAY_LAG_H
#define RHYTHM_DISPLAY_LAG_H

#include <cstdint>
#include <deque>
#include <utility>

class DisplayLag {
 public:
  static constexpr int FRAMES_KEPT = 8;

  explicit DisplayLag(double frame_ms) : m_frame_ms(frame_ms) {}

  // The notes took their rows for the picture of this game step at clock_us.
  void placed(int step, int64_t clock_us);
  // The picture of this step went on screen at clock_us (-1: not known).
  // Steps never placed, or shown before they were placed, are ignored.
  void shown(int step, int64_t clock_us);
  // The steps placed whose showing is still unknown, oldest first.
  std::deque<int> unshownSteps() const;
  double getLagMs() const;

 private:
  double m_frame_ms;
  std::deque<std::pair<int, int64_t>> m_placed;  // step, clock
  std::deque<double> m_lags_ms;
};

#endif
