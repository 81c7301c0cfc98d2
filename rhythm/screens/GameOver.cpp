#include "screens/GameOver.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>

namespace {
const int32_t STEPS_SHOWN = 90;
}

GameOver::GameOver() {
  setType("GameOver");
  setSprite("gameover");
  setLocation(ts::CENTER_CENTER);
  ts::LogManager::getInstance().writeLog("GameOver screen displayed.");
  registerInterest(ts::STEP_EVENT);
  m_time_to_live = STEPS_SHOWN;
}

GameOver::~GameOver() {}

int GameOver::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
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
