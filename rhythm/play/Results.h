// How a song went: the judgements counted, the longest combo, the score, and
// what follows from them over all the chart's notes: the accuracy (a
// "Perfect!" counts 100 %, a "Good!" 50 %, a miss nothing) and its grade.
#ifndef RHYTHM_RESULTS_H
#define RHYTHM_RESULTS_H

#include <cstdint>
#include <string>
#include <utility>

#include "play/HitOffsets.h"

class Results {
 public:
  Results(int perfects, int goods, int misses, int longest_combo, int32_t score, int notes);

  // In tenths of a percent, rounded down, so that the accuracy shown never
  // reaches a grade's threshold that the true accuracy misses.
  int accuracyTenths() const;
  // "97.5%".
  std::string accuracyText() const;
  // S from 95 %, A from 90 %, B from 80 %, C from 70 %, else D.
  char grade() const;
  // "Perfect 6, Good 2, Miss 2, longest combo 6, score 70, accuracy 70.0%,
  // grade C": the results in one line.
  std::string summary() const;

  int getPerfects() const { return m_perfects; }
  int getGoods() const { return m_goods; }
  int getMisses() const { return m_misses; }
  int getLongestCombo() const { return m_longest_combo; }
  int32_t getScore() const { return m_score; }
  int getNotes() const { return m_notes; }
  // The offsets of the timed presses; none under the classic rules.
  void setOffsets(HitOffsets offsets) { m_offsets = std::move(offsets); }
  const HitOffsets &getOffsets() const { return m_offsets; }

 private:
  // Percent times notes: the accuracy without rounding.
  int64_t percentTimesNotes() const;

  int m_perfects;
  int m_goods;
  int m_misses;
  int m_longest_combo;
  int32_t m_score;
  int m_notes;
  HitOffsets m_offsets;
};

#endif
