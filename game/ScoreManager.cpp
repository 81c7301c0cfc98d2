#include "ScoreManager.h"

#include <tessera/core/LogManager.h>
#include <tessera/world/WorldManager.h>
#include "UIManager.h"

ScoreManager::ScoreManager() : m_score(0), m_combo(0) { setType("ScoreManager"); }

ScoreManager::~ScoreManager() {}

int ScoreManager::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  logScore();
  return 1;
}

void ScoreManager::logScore() const {
  ts::LogManager::getInstance().writeLog("ScoreManager: Current Score: %d, Combo: %d", m_score, m_combo);
}

void ScoreManager::resetCombo() {
  m_combo = 0;
  ts::ObjectList huds = ts::WorldManager::getInstance().objectsOfType("UIManager");
  UIManager *p_hud = huds.isEmpty() ? nullptr : dynamic_cast<UIManager *>(huds[0]);
  if (p_hud) p_hud->setCombo(0);
}
