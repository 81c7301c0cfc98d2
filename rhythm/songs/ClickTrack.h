// The calibration's click track: four soft count-in clicks, then the clicks
// the player taps along with, at a steady pace. Shared by the calibration
// screen and by the music generator in tools/, which writes the track.
#ifndef RHYTHM_CLICK_TRACK_H
#define RHYTHM_CLICK_TRACK_H

#include <vector>

namespace click_track {

const char *const FILE_NAME = "Sound/Click_Track.ogg";
const char *const LABEL = "click_track";

const int COUNT_IN_CLICKS = 4;
const int TAPPED_CLICKS = 16;
// Not a whole number of 33 ms frames, so that the taps, which the game
// sees once per frame, fall at every phase of the frame.
const double INTERVAL_MS = 600.0;
const double FIRST_COUNT_IN_MS = 1000.0;
const double FIRST_TAPPED_MS = FIRST_COUNT_IN_MS + COUNT_IN_CLICKS * INTERVAL_MS;
const double LENGTH_SECONDS = (FIRST_TAPPED_MS + TAPPED_CLICKS * INTERVAL_MS) / 1000.0;

// When the clicks to tap sound, in milliseconds of the track.
inline std::vector<double> tappedClicksMs() {
  std::vector<double> clicks;
  for (int k = 0; k < TAPPED_CLICKS; ++k) clicks.push_back(FIRST_TAPPED_MS + k * INTERVAL_MS);
  return clicks;
}

}  // namespace click_track

#endif
