#include "play/HitOffsets.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "play/TimingWindow.h"

double HitOffsets::meanMs() const {
  if (m_offsets_ms.empty()) return 0.0;
  return std::accumulate(m_offsets_ms.begin(), m_offsets_ms.end(), 0.0) / static_cast<double>(m_offsets_ms.size());
}

std::vector<int> HitOffsets::histogram() const {
  std::vector<int> bins(BINS, 0);
  for (double offset : m_offsets_ms) {
    const long bin = std::lround(offset / BIN_MS) + BINS / 2;
    ++bins[static_cast<size_t>(std::clamp<long>(bin, 0, BINS - 1))];
  }
  return bins;
}

std::string HitOffsets::spreadText() const {
  static const char LEVELS[] = " .:-=+*#@";
  const int top = static_cast<int>(sizeof LEVELS) - 2;
  const std::vector<int> bins = histogram();
  const int most = *std::max_element(bins.begin(), bins.end());
  std::string bars;
  for (int count : bins) {
    // Any press at all shows as the lowest mark; the fullest bin takes the
    // tallest.
    const int level = count == 0 || most == 0 ? 0 : 1 + count * (top - 1) / most;
    bars += LEVELS[std::min(level, top)];
  }
  return "early [" + bars + "] late";
}

std::string HitOffsets::meanText() const { return "Timing: " + timing_window::offsetText(meanMs()) + " on average"; }

std::optional<std::string> HitOffsets::advice(int played_offset_ms) const {
  const double mean = meanMs();
  if (m_offsets_ms.empty() || std::fabs(mean) <= ADVICE_BEYOND_MS) return std::nullopt;
  const long suggested = played_offset_ms + std::lround(mean);
  return "Your hits are " + std::to_string(std::lround(std::fabs(mean))) + " ms " + timing_window::earlyOrLate(mean) +
         " on average: try --offset " + std::to_string(suggested) + " or C to calibrate.";
}
