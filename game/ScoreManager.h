// Holds the player's score and combo. Notes change them when they are hit
// or missed.
#ifndef RHYTHM_SCORE_MANAGER_H
#define RHYTHM_SCORE_MANAGER_H

#include <cstdint>

#include <tessera/world/Object.h>

class ScoreManager : public ts::Object {
 public:
  ScoreManager();
  ~ScoreManager() override;

  // Answers a step by logging the score. It registers for no steps, so the
  // log is not filled with a line per frame; the end of a song logs the
  // final score once through logScore().
  int eventHandler(const ts::Event *p_event) override;
  void logScore() const;
  // Zero combo here and on the heads-up display.
  void resetCombo();

  int32_t getScore() const { return m_score; }
  void setScore(int32_t score) { m_score = score; }
  int32_t getCombo() const { return m_combo; }
  void setCombo(int32_t combo) { m_combo = combo; }

 private:
  int32_t m_score;
  int32_t m_combo;
};

#endif
