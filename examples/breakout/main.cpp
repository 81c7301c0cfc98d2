// Breakout: the arrow keys move a paddle that keeps a ball in play; the
// ball breaks the bricks it hits. Three lives; a cleared wall brings the
// next level with one row more and a faster ball.
//
//   breakout                         play
//   breakout --autopilot --steps N   let the autopilot play, and end after
//                                    N frames
// Run it from the folder that holds its data (sprites/, and the font
// ts-font.ttf for the window).
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>
#include "Autopilot.h"
#include "Game.h"
#include "Paddle.h"

namespace {

struct Options {
  bool autopilot = false;
  int steps = -1;  // -1: until Escape
};

bool parseOptions(int argc, char **argv, Options &options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--autopilot")
      options.autopilot = true;
    else if (argument == "--steps" && i + 1 < argc)
      options.steps = std::atoi(argv[++i]);
    else
      return false;
  }
  return true;
}

bool loadSprites() {
  for (const char *name : {"brick", "wall", "paddle", "ball"})
    if (ts::ResourceManager::getInstance().loadSprite(std::string("sprites/") + name + ".txt", name) != 0) return false;
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--autopilot] [--steps N]\n", argv[0]);
    return 2;
  }
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    std::fprintf(stderr, "%s: the engine did not start; see its log\n", argv[0]);
    return 1;
  }
  if (!loadSprites()) {
    game_manager.shutDown();
    return 1;
  }
  new Paddle();
  new Game();
  if (options.autopilot || options.steps >= 0) new Autopilot(options.autopilot, options.steps);

  game_manager.run();
  ts::LogManager::getInstance().writeLog("Breakout: the game ended after %d steps", game_manager.getStepCount());
  game_manager.shutDown();
  return 0;
}
