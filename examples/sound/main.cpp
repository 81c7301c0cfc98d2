// Sound: music that loops, a sound effect on an event, pause and resume.
//
//   sound                                  listen; P pauses and resumes the
//                                          music, Escape quits
//   sound --autopilot KEYS --steps N       press a script of keys (P, or
//                                          anything else to wait) and end
//                                          after N frames
// Run it from the folder that holds loop.ogg and blip.ogg (the build copies
// them there). Without a sound device both play silently, and the game
// sees them play all the same.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>
#include "Autopilot.h"
#include "Ball.h"
#include "Jukebox.h"

namespace {

struct Options {
  std::string keys;
  int steps = -1;  // -1: until Escape
};

bool parseOptions(int argc, char **argv, Options &options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--autopilot" && i + 1 < argc)
      options.keys = argv[++i];
    else if (argument == "--steps" && i + 1 < argc)
      options.steps = std::atoi(argv[++i]);
    else
      return false;
  }
  return true;
}

// Music is streamed from its file while it plays; a sound is read into
// memory whole, so it starts at once. Both are the resource manager's, found
// again by their labels.
bool loadAudio() {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  if (resources.loadMusic("loop.ogg", "loop") != 0 || resources.loadSound("blip.ogg", "blip") != 0) return false;
  ts::LogManager::getInstance().writeLog("Sound: the music lasts %.2f s", resources.getMusic("loop")->getDuration());
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--autopilot KEYS] [--steps N]\n", argv[0]);
    return 2;
  }
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    std::fprintf(stderr, "%s: the engine did not start; see its log\n", argv[0]);
    return 1;
  }
  if (!loadAudio()) {
    std::fprintf(stderr, "%s: the music or the sound did not load; see the log\n", argv[0]);
    game_manager.shutDown();
    return 1;
  }
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  new Jukebox(resources.getMusic("loop"));
  new Ball(resources.getSound("blip"));
  if (!options.keys.empty() || options.steps >= 0) new Autopilot(options.keys, options.steps);
  game_manager.run();
  game_manager.shutDown();  // stops the music and the sound
  return 0;
}
