// The rhythm game's entry point.
//
//   rhythm              play: the start screen waits for 1 or 2
//   rhythm --demo 1|2   watch the game play track 1 or 2 on its own
#include <cstdio>
#include <string>

#include "DemoPlayer.h"
#include <tessera/game/GameManager.h>
#include "GameStart.h"
#include <tessera/resources/ResourceManager.h>

namespace {

void loadResources() {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  resources.loadSprite("sprites/gamestart-spr.txt", "gamestart");
  resources.loadSprite("sprites/gameover-spr.txt", "gameover");
  resources.loadSprite("sprites/note-down.txt", "note_down");
  resources.loadSprite("sprites/note-left.txt", "note_left");
  resources.loadSprite("sprites/note-right.txt", "note_right");
  resources.loadSprite("sprites/note-up.txt", "note_up");
  resources.loadMusic("Sound/BGM_Start.ogg", "start_bgm");
  resources.loadMusic("Sound/BGM1_Star.ogg", "game_bgm1");
  resources.loadMusic("Sound/BGM2_La Campanella.ogg", "game_bgm2");
}

// The demo track from the arguments: 0 for none, -1 for a usage error.
int demoTrack(int argc, char **argv) {
  if (argc == 1) return 0;
  if (argc == 3 && std::string(argv[1]) == "--demo") {
    const int track = DemoPlayer::trackOfArgument(argv[2]);
    if (track != 0) return track;
  }
  return -1;
}

}  // namespace

int main(int argc, char **argv) {
  const int demo_track = demoTrack(argc, argv);
  if (demo_track < 0) {
    std::fprintf(stderr, "usage: %s [--demo 1|2]\n", argv[0]);
    return 2;
  }
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) return 1;
  loadResources();
  new GameStart();
  if (demo_track != 0) new DemoPlayer(demo_track);
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
