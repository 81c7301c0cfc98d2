// The rhythm game's entry point.
#include "GameManager.h"

int main() {
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) return 1;
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
