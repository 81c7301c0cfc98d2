#include "screens/GameOver.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include "play/FirstOfType.h"
#include "screens/ResultsScreen.h"

namespace {
const int32_t STEPS_SHOWN = 90;
}

GameOver::GameOver() {
  setType("GameOver");
  setSprite("gameover");
  if (waitsForKey()) setSprite("cleared");
  setLocation(ts::CENTER_CENTER);
  ts::LogManager::getInstance().writeLog("GameOver screen displayed.");
  registerInterest(ts::STEP_EVENT);
  m_time_to_live = STEPS_SHOWN;
}

GameOver::~GameOver() {}

bool GameOver::waitsForKey() {
  const ResultsScreen *p_results = firstOfType<ResultsScreen>("ResultsScreen");
  return p_results && p_results->waitsForKey();
}

int GameOver::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  if (waitsForKey()) return 1;
  --m_time_to_live;
  // The loop ends after the frame that reaches zero; should more steps
  // come (another loop run), the line is not written again.
  if (m_time_to_live == 0) {
    ts::LogManager::getInstance().writeLog("Game shutting down.");
    ts::GameManager::getInstance().setGameOver(true);
  }
  return 1;
}

int GameOver::draw() { return ts::Object::draw(); }
