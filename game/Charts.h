// The note charts of the two game tracks. Shared by the game and by the
// music generator in tools/, which places a beat on every chart entry so
// that each note crosses the middle of the "Perfect!" rows on a beat.
#ifndef RHYTHM_CHARTS_H
#define RHYTHM_CHARTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "HitZone.h"

namespace charts {

const std::string TRACK_ONE = "game_bgm1";
const std::string TRACK_TWO = "game_bgm2";
// The tracks' music files, loaded under those labels when the game starts.
const std::string TRACK_ONE_FILE = "Sound/BGM1_Star.ogg";
const std::string TRACK_TWO_FILE = "Sound/BGM2_La Campanella.ogg";

// A chart entry c spawns its note c spawner steps after the track starts;
// the note is on row k k steps later and counts as "Perfect!" on the two
// rows the '=' lines mark, so the beat lies halfway between, at c + 19.5
// steps. A step lasts one frame of the default frame time.
const double PERFECT_ROW_MIDDLE = hit_zone::PERFECT_MIDDLE;
const int FRAME_MILLISECONDS = 33;

// Step numbers at which the spawner creates a note, for a track label.
inline std::vector<int32_t> chartFor(const std::string &track_label) {
  std::vector<int32_t> chart;
  if (track_label == TRACK_ONE) {
    for (int32_t k = 0; k <= 47; ++k) chart.push_back(5 + 15 * k);
  } else if (track_label == TRACK_TWO) {
    for (int32_t k = 0; k <= 16; ++k) chart.push_back(2 + 9 * k);
    for (int32_t k = 0; k <= 228; ++k) chart.push_back(226 + 4 * k);
  }
  return chart;
}

// The length of play announced in the log when a track starts.
inline int secondsFor(const std::string &track_label) {
  if (track_label == TRACK_ONE) return 25;
  if (track_label == TRACK_TWO) return 40;
  return 10;
}

// When the note of a chart entry should be hit, in seconds of the track.
inline double beatSeconds(int32_t chart_entry) {
  return (chart_entry + PERFECT_ROW_MIDDLE) * FRAME_MILLISECONDS / 1000.0;
}

}  // namespace charts

#endif
