// Holds the player's score, combo and judgement counts: notes change them
// when they are hit or missed; the heads-up display shows them and the
// results are made of them.
#ifndef RHYTHM_SCORE_MANAGER_H
#define RHYTHM_SCORE_MANAGER_H

#include <cstdint>

#include <tessera/world/Object.h>

#include "play/HitOffsets.h"
#include "play/Judgement.h"
#include "play/Results.h"

class ScoreManager : public ts::Object {
 public:
  ScoreManager();
  ~ScoreManager() override;

  // Answers a step by logging the score. It registers for no steps, so the
  // log is not filled with a line per frame; the end of a song logs the
  // final score once through logScore().
  int eventHandler(const ts::Event *p_event) override;
  void logScore() const;
  void resetCombo();

  int32_t getScore() const { return m_score; }
  void setScore(int32_t score) { m_score = score; }
  int32_t getCombo() const { return m_combo; }
  // Also keeps the longest combo reached.
  void setCombo(int32_t combo);

  void countJudgement(Judgement judgement);
  // A timed press's offset from its note's moment (negative: early).
  void addOffset(double offset_ms) { m_offsets.add(offset_ms); }
  const HitOffsets &getOffsets() const { return m_offsets; }
  int getJudgementCount(Judgement judgement) const;
  int32_t getLongestCombo() const { return m_longest_combo; }
  // The results so far, over a chart of the given number of notes.
  Results results(int chart_notes) const;

 private:
  int32_t m_score;
  int32_t m_combo;
  int32_t m_longest_combo;
  int m_counts[3];  // by Judgement
  HitOffsets m_offsets;
};

#endif
