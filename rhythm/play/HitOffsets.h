// The offsets of a song's timed presses, in milliseconds (negative: early),
// and what the results say of them: the mean, the spread between early and
// late as a one-line text histogram, and an audio offset to try when the
// presses are late or early on average.
#ifndef RHYTHM_HIT_OFFSETS_H
#define RHYTHM_HIT_OFFSETS_H

#include <optional>
#include <string>
#include <vector>

class HitOffsets {
 public:
  // A mean further from zero than this earns advice on the results.
  static constexpr double ADVICE_BEYOND_MS = 15.0;
  // The histogram's bins: this wide, centred on zero, out to the Miss window.
  static constexpr double BIN_MS = 15.0;
  static constexpr int BINS = 17;

  void add(double offset_ms) { m_offsets_ms.push_back(offset_ms); }
  bool isEmpty() const { return m_offsets_ms.empty(); }
  // In the order the presses came.
  const std::vector<double> &all() const { return m_offsets_ms; }
  double meanMs() const;
  // The presses per bin, earliest first; offsets beyond the outer bins
  // count in them.
  std::vector<int> histogram() const;
  // "early [  .:=#=:.  ] late": one character per bin, taller for more.
  std::string spreadText() const;
  // "Timing: 12 ms late on average", "Timing: on time on average".
  std::string meanText() const;
  // With presses late or early on average beyond ADVICE_BEYOND_MS: "Your
  // hits are 30 ms late on average: try --offset 30 or C to calibrate.",
  // the offset suggested being the one played with plus the mean.
  std::optional<std::string> advice(int played_offset_ms) const;

 private:
  std::vector<double> m_offsets_ms;
};

#endif
