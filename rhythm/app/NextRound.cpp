#include "app/NextRound.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>

NextRound::What NextRound::s_what = NextRound::NONE;

void NextRound::request(What what) {
  if (s_what != NONE || what == NONE) return;
  s_what = what;
  ts::LogManager::getInstance().writeLog(what == RETRY ? "NextRound: the song again." : "NextRound: the song list.");
  ts::GameManager::getInstance().setGameOver(true);
}
