#include "play/ScoreManager.h"

#include <tessera/core/LogManager.h>

ScoreManager::ScoreManager() : m_score(0), m_combo(0), m_longest_combo(0), m_counts{0, 0, 0} {
  setType("ScoreManager");
}

ScoreManager::~ScoreManager() {}

int ScoreManager::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  logScore();
  return 1;
}

void ScoreManager::logScore() const {
  ts::LogManager::getInstance().writeLog("ScoreManager: Current Score: %d, Combo: %d", m_score, m_combo);
}

void ScoreManager::resetCombo() { m_combo = 0; }

void ScoreManager::setCombo(int32_t combo) {
  m_combo = combo;
  if (combo > m_longest_combo) m_longest_combo = combo;
}

void ScoreManager::countJudgement(Judgement judgement) { ++m_counts[static_cast<int>(judgement)]; }

int ScoreManager::getJudgementCount(Judgement judgement) const { return m_counts[static_cast<int>(judgement)]; }

Results ScoreManager::results(int chart_notes) const {
  Results results(getJudgementCount(Judgement::PERFECT), getJudgementCount(Judgement::GOOD),
                  getJudgementCount(Judgement::MISS), m_longest_combo, m_score, chart_notes);
  results.setOffsets(m_offsets);
  return results;
}
