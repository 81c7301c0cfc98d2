// Feeds arbitrary bytes to the chart reader: any input must be read or
// refused with a reason, without crashing, and a chart it accepts must keep
// the promises the game relies on (steps that never fall, within range; a
// step repeated only by a chord's notes, each in a lane of its own; holds
// in a lane, within their limits, with no note of their lane inside them; a
// lane per note; bounded sizes; texts the window can show, titles in UTF-8).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "songs/Chart.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool printable(const std::string &text) {
  for (char c : text)
    if (c < 0x20 || c > 0x7e) return false;
  return true;
}

// Characters of text that has no control character, counted by the bytes
// that start one; the reader has checked the rest of UTF-8.
size_t shownCharacters(const std::string &text) {
  size_t count = 0;
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    check(byte >= 0x20 && byte != 0x7f);
    count += (byte & 0xC0) != 0x80;
  }
  return count;
}

void checkNotes(const Chart &chart) {
  const auto &steps = chart.getSteps();
  const auto &lanes = chart.getLanes();
  const auto &holds = chart.getHoldSteps();
  check(!steps.empty() && steps.size() <= Chart::MAX_NOTES && lanes.size() == steps.size() &&
        holds.size() == steps.size());
  int32_t lane_end[4] = {0, 0, 0, 0};
  for (size_t i = 0; i < steps.size(); ++i) {
    check(steps[i] >= 1 && steps[i] <= Chart::MAX_STEP);
    check(lanes[i] >= Chart::RANDOM_LANE && lanes[i] <= 3);
    if (i > 0 && steps[i] == steps[i - 1]) check(lanes[i] != Chart::RANDOM_LANE && lanes[i - 1] != Chart::RANDOM_LANE);
    check(i == 0 || steps[i] >= steps[i - 1]);
    check(holds[i] == 0 || (holds[i] >= Chart::MIN_HOLD_STEPS && holds[i] <= Chart::MAX_HOLD_STEPS &&
                            lanes[i] != Chart::RANDOM_LANE && steps[i] + holds[i] <= Chart::MAX_STEP));
    if (lanes[i] == Chart::RANDOM_LANE) continue;
    check(steps[i] > lane_end[lanes[i]]);
    lane_end[lanes[i]] = steps[i] + holds[i];
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const Chart chart = Chart::parse(std::string(reinterpret_cast<const char *>(data), size));
  check(printable(chart.getError()));
  if (!chart.isValid()) {
    check(chart.getSteps().empty() && chart.getLanes().empty() && chart.getHoldSteps().empty() &&
          chart.getTitle().empty() && chart.getMusic().empty() && chart.getDifficulty().empty() &&
          chart.getWarnings().empty());
    return 0;
  }
  checkNotes(chart);
  check(shownCharacters(chart.getTitle()) <= Chart::MAX_TITLE_LENGTH);
  check(shownCharacters(chart.getDifficulty()) <= Chart::MAX_DIFFICULTY_LENGTH);
  check(chart.getPreviewSeconds() == -1 ||
        (chart.getPreviewSeconds() >= 0 && chart.getPreviewSeconds() <= Chart::MAX_SECONDS));
  check(chart.getWarnings().size() <= Chart::MAX_WARNINGS + 1);
  for (const std::string &warning : chart.getWarnings()) check(printable(warning));
  check(!chart.getMusic().empty() && chart.getMusic().size() <= Chart::MAX_MUSIC_LENGTH && printable(chart.getMusic()));
  return 0;
}
