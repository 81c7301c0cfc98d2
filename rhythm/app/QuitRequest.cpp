#include "app/QuitRequest.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>

bool QuitRequest::s_made = false;

void QuitRequest::make() {
  s_made = true;
  ts::LogManager::getInstance().writeLog("ESC pressed! Exiting game...");
  ts::GameManager::getInstance().setGameOver(true);
}
