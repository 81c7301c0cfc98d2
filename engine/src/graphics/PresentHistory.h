// When the pictures of recent game steps went on screen: one entry per
// presented step, the oldest dropped once the history is full. Steps are
// recorded in increasing order; a smaller step (the loop run again from
// step 0) starts the history afresh.
#ifndef TS_PRESENT_HISTORY_H
#define TS_PRESENT_HISTORY_H

#include <array>
#include <cstdint>

namespace ts {

class PresentHistory {
 public:
  // Frames kept: about two seconds at the default frame time.
  static const int SIZE = 64;

  PresentHistory();
  // The picture of `step` went on screen at `time`; a step already recorded
  // keeps the time it was first shown.
  void record(int step, int64_t time);
  // When the picture of `step` went on screen, or -1 if not kept.
  int64_t presentTime(int step) const;
  // The step whose picture was on screen at `time` (the last one shown at or
  // before it), or -1 when that is not known.
  int shownStep(int64_t time) const;
  void clear() { m_count = 0; }

 private:
  struct Entry {
    int step;
    int64_t time;
  };
  // The i-th entry, oldest first.
  const Entry &at(int i) const;

  std::array<Entry, SIZE> m_entries;
  int m_first;  // index of the oldest entry
  int m_count;
};

}  // namespace ts

#endif
