#include "play/TimingWindow.h"

#include <cmath>

namespace timing_window {

std::optional<Judgement> grade(double offset_ms) {
  const double distance = std::fabs(offset_ms);
  if (distance <= PERFECT_MS) return Judgement::PERFECT;
  if (distance <= GOOD_MS) return Judgement::GOOD;
  if (distance <= MISS_MS) return Judgement::MISS;
  return std::nullopt;
}

const char *earlyOrLate(double offset_ms) {
  if (std::fabs(offset_ms) < 0.5) return "on time";
  return offset_ms < 0 ? "early" : "late";
}

std::string offsetText(double offset_ms) {
  const long whole = std::lround(std::fabs(offset_ms));
  if (whole == 0) return "on time";
  return std::to_string(whole) + " ms " + earlyOrLate(offset_ms);
}

}  // namespace timing_window
