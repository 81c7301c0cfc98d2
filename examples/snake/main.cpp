// Snake: the arrow keys steer a snake across a grid; each food makes it a
// segment longer and a little faster, until it runs into itself or off the
// world.
//
//   snake                          play
//   snake --autopilot --steps N    let the autopilot steer, and end after
//                                  N frames (without --autopilot the snake
//                                  goes straight on)
// Run it from the folder that holds its data (sprites/, and the font
// ts-font.ttf for the window).
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/ViewObject.h>
#include <tessera/world/WorldManager.h>
#include "Autopilot.h"
#include "Snake.h"

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
  for (const char *name : {"head", "body", "food"})
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
  // The window's top row holds the length; the world, the snake's field, is
  // the rows below it. Set before any object exists: setting the boundary
  // rebuilds the collision grid, which forgets the objects already in it.
  ts::WorldManager::getInstance().setBoundary(ts::Box(ts::Vector(0, 1), 80, 23));
  const Snake *snake = new Snake(ts::Vector(20, 12));
  ts::ViewObject *length = new ts::ViewObject();
  length->setViewString("Length");  // the snake adds to it with "ts-view" events
  length->setValue(snake->getLength());
  length->setBorder(false);
  length->setLocation(ts::TOP_LEFT);
  if (options.autopilot || options.steps >= 0) new Autopilot(options.autopilot, options.steps);

  game_manager.run();
  ts::LogManager::getInstance().writeLog("Snake: the game ended after %d steps with length %d",
                                         game_manager.getStepCount(), snake->getLength());
  game_manager.shutDown();
  return 0;
}
