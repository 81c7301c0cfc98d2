// The pace of play: the note clock takes one step per frame of the default
// frame time, and a note is on the beat when it lies halfway between the two
// "Perfect!" rows. Shared by the game and by the music generator in tools/,
// which places a beat on every chart entry.
#ifndef RHYTHM_BEAT_H
#define RHYTHM_BEAT_H

#include <cstdint>

#include "play/HitZone.h"

namespace beat {

const int STEP_MILLISECONDS = 33;

// When the note of a chart entry should be hit, in seconds of the track: a
// note spawned on step c is on row k k steps later.
inline double secondsOf(int32_t chart_entry) {
  return (chart_entry + hit_zone::PERFECT_MIDDLE) * STEP_MILLISECONDS / 1000.0;
}

}  // namespace beat

#endif
