// How a timed press is graded: by its offset from the moment its note was
// shown on its receptor, in milliseconds, negative when early. The windows
// are symmetric. At 30 frames per second a note is on the two rows the
// classic rules call "Perfect!" 16.5 ms either side of that moment, and on
// the "Good!" rows next to them 49.5 ms either side, so a press made on a
// frame boundary keeps the grade the classic rules give it; each window has
// 6 ms to spare for the frame loop's jitter.
#ifndef RHYTHM_TIMING_WINDOW_H
#define RHYTHM_TIMING_WINDOW_H

#include <optional>
#include <string>

#include "play/Judgement.h"

namespace timing_window {

const double PERFECT_MS = 22.5;
const double GOOD_MS = 55.5;
// A press this close to a note of its lane takes the note: outside the Good
// window as a "Miss!", which breaks the combo. A press further from every
// note of its lane does nothing.
const double MISS_MS = 135.0;

// The grade of a press at this offset, or nothing when it is outside every
// window.
std::optional<Judgement> grade(double offset_ms);

// "early", "late", or "on time" within half a millisecond.
const char *earlyOrLate(double offset_ms);
// "12 ms early", "3 ms late", "on time".
std::string offsetText(double offset_ms);

}  // namespace timing_window

#endif
