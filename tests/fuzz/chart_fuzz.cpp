// Feeds arbitrary bytes to the chart reader: any input must be read or
// refused with a reason, without crashing, and a chart it accepts must keep
// the promises the game relies on (rising steps within range, a lane per
// note, bounded sizes, texts the window can show).
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const Chart chart = Chart::parse(std::string(reinterpret_cast<const char *>(data), size));
  check(printable(chart.getError()));
  if (!chart.isValid()) {
    check(chart.getSteps().empty() && chart.getLanes().empty() && chart.getTitle().empty() && chart.getMusic().empty());
    return 0;
  }
  const auto &steps = chart.getSteps();
  const auto &lanes = chart.getLanes();
  check(!steps.empty() && steps.size() <= Chart::MAX_NOTES && lanes.size() == steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    check(steps[i] >= 1 && steps[i] <= Chart::MAX_STEP);
    check(i == 0 || steps[i] > steps[i - 1]);
    check(lanes[i] >= Chart::RANDOM_LANE && lanes[i] <= 3);
  }
  check(chart.getTitle().size() <= Chart::MAX_TITLE_LENGTH && printable(chart.getTitle()));
  check(!chart.getMusic().empty() && chart.getMusic().size() <= Chart::MAX_MUSIC_LENGTH && printable(chart.getMusic()));
  return 0;
}
