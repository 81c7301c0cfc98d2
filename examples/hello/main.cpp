// Hello: a ship crosses the screen while a line of text says what to do.
// The smallest complete game: start the engine, load a sprite, create an
// object, run the frames, shut down.
//
//   hello                          play (up and down arrows, Escape quits)
//   hello --keys KEYS --steps N    play a script of keys (U D for the
//                                  arrows, Q for Escape, anything else
//                                  waits) and end after N frames
// Run it from the folder that holds its data: sprites/ and, for the
// window, the font ts-font.ttf (the build puts them beside the program).
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/TextView.h>
#include "KeyScript.h"
#include "Ship.h"

namespace {

struct Options {
  std::string keys;
  int steps = -1;  // -1: until Escape
};

bool parseOptions(int argc, char **argv, Options &options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--keys" && i + 1 < argc)
      options.keys = argv[++i];
    else if (argument == "--steps" && i + 1 < argc)
      options.steps = std::atoi(argv[++i]);
    else
      return false;
  }
  return true;
}

// A text view shows lines of text at a fixed place of the window, which
// stays put however the world's view moves.
void showText(const std::string &text) {
  ts::TextView *line = new ts::TextView();  // the world owns it from now on
  line->setText(text);
  line->setLocation(ts::BOTTOM_CENTER);
  line->setColor(ts::YELLOW);
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--keys KEYS] [--steps N]\n", argv[0]);
    return 2;
  }
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    std::fprintf(stderr, "%s: the engine did not start; see its log\n", argv[0]);
    return 1;
  }
  // Sprites are loaded once, under a label that objects then ask for.
  if (ts::ResourceManager::getInstance().loadSprite("sprites/ship.txt", "ship") != 0) {
    game_manager.shutDown();  // the log says what was wrong with the file
    return 1;
  }
  const Ship *ship = new Ship();
  showText("Hello, Tessera!  Up/Down: move   Escape: quit");
  if (!options.keys.empty() || options.steps >= 0) new KeyScript(options.keys, options.steps);

  game_manager.run();
  // The objects still exist here; shutDown() destroys them.
  ts::LogManager::getInstance().writeLog("Hello: the game ended after %d steps and %d laps",
                                         game_manager.getStepCount(), ship->getLaps());
  game_manager.shutDown();
  return 0;
}
