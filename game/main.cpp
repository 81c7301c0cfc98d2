// The rhythm game's entry point.
//
//   rhythm                  play: the start screen waits for a song's key (C calibrates);
//                           after each song's results it comes back, Escape quits
//   rhythm --demo 1|2       watch the game play track 1 or 2 on its own
//   rhythm --once           end after the first song's results
//   rhythm --offset MS      play with this audio offset instead of the saved one
#include <cstdio>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>
#include "ClickTrack.h"
#include "DemoPlayer.h"
#include "GameSettings.h"
#include "RoundLoop.h"

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
  resources.loadMusic(click_track::FILE_NAME, click_track::LABEL);
}

struct Arguments {
  int demo_track = 0;  // 0: play
  bool once = false;
  bool has_offset = false;
  std::string offset;
};

// False for arguments the game does not know.
bool parseArguments(int argc, char **argv, Arguments &arguments) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--once") {
      arguments.once = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    long number = 0;
    if (option == "--demo" && arguments.demo_track == 0) {
      arguments.demo_track = DemoPlayer::trackOfArgument(value);
      if (arguments.demo_track == 0) return false;
    } else if (option == "--offset" && !arguments.has_offset && GameSettings::parseInteger(value, number)) {
      arguments.has_offset = true;
      arguments.offset = value;
    } else {
      return false;
    }
  }
  return true;
}

// The saved offset, or the one given on the command line.
int audioOffset(const Arguments &arguments) {
  GameSettings settings;
  settings.load(GameSettings::defaultPath());
  if (arguments.has_offset && settings.setOffsetText(arguments.offset, "the command line") != 0)
    std::fprintf(stderr, "rhythm: --offset %s refused: it must lie within -%d..%d ms\n", arguments.offset.c_str(),
                 GameSettings::MAX_OFFSET_MS, GameSettings::MAX_OFFSET_MS);
  if (settings.getOffsetMs() != 0)
    ts::LogManager::getInstance().writeLog("Audio offset: %d ms.", settings.getOffsetMs());
  return settings.getOffsetMs();
}

}  // namespace

int main(int argc, char **argv) {
  Arguments arguments;
  if (!parseArguments(argc, argv, arguments)) {
    std::fprintf(stderr, "usage: %s [--demo 1|2] [--once] [--offset MS]\n", argv[0]);
    return 2;
  }
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) return 1;
  loadResources();
  const int offset_ms = audioOffset(arguments);
  RoundLoop({arguments.demo_track, arguments.once, offset_ms}).run();
  game_manager.shutDown();
  return 0;
}
