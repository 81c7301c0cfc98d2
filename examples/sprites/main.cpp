// Sprites: a show of animated character pictures in both of the engine's
// sprite file formats, at different speeds and in every colour.
//
//   sprites                                 watch; Space stops and restarts
//                                           the animations, N steps the
//                                           stopped ones, Escape quits
//   sprites --autopilot KEYS --steps N      press a script of keys (S Space,
//                                           N next frame, anything else
//                                           waits) and end after N frames
// Run it from the folder that holds its sprite files (the build copies them
// there).
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/TextView.h>
#include "Autopilot.h"
#include "Controls.h"
#include "Exhibit.h"

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

// Loads a sprite file under a label; the loader tells the two formats apart
// by the file's first line. Slowdown and colour belong to the sprite, not to
// the objects showing it, so a variant of a picture is a sprite of its own:
// the same file loaded under another label, then changed.
ts::Sprite *load(const std::string &file, const std::string &label) {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  if (resources.loadSprite(file, label) != 0) return nullptr;
  ts::Sprite *sprite = resources.getSprite(label);
  ts::LogManager::getInstance().writeLog("Sprites: read %s as '%s': %d frames of %d x %d, slowdown %d, %s",
                                         file.c_str(), label.c_str(), sprite->getFrameCount(), sprite->getWidth(),
                                         sprite->getHeight(), sprite->getSlowdown(),
                                         ts::colorToString(sprite->getColor()).c_str());
  return sprite;
}

// The walker (robust format, with a transparent space) at three speeds and
// the spinner (simple format).
bool showSpeeds() {
  ts::Sprite *walker = load("walker.txt", "walker");
  ts::Sprite *quick = load("walker.txt", "walker-quick");
  ts::Sprite *slow = load("walker.txt", "walker-slow");
  if (!walker || !quick || !slow || !load("spinner.txt", "spinner")) return false;
  quick->setSlowdown(2);
  slow->setSlowdown(8);
  new Exhibit("walker", ts::Vector(10, 4), "robust, slowdown 4");
  new Exhibit("walker-quick", ts::Vector(30, 4), "slowdown 2");
  new Exhibit("walker-slow", ts::Vector(50, 4), "slowdown 8");
  new Exhibit("spinner", ts::Vector(70, 4), "simple, slowdown 2");
  return true;
}

// The digits 0 to 9, held on 0 until N steps them.
bool showCounter() {
  if (!load("counter.txt", "counter")) return false;
  Exhibit *counter = new Exhibit("counter", ts::Vector(40, 11), "stopped: N steps it");
  counter->setRunning(false);
  return true;
}

// The gem in each of the eight colours.
bool showColors() {
  for (int color = ts::BLACK; color <= ts::WHITE; ++color) {
    const std::string name = ts::colorToString(static_cast<ts::Color>(color));
    ts::Sprite *gem = load("gem.txt", "gem-" + name);
    if (!gem) return false;
    gem->setColor(static_cast<ts::Color>(color));
    new Exhibit("gem-" + name, ts::Vector(5.0f + 10.0f * static_cast<float>(color), 17), name);
  }
  return true;
}

void showHelp() {
  ts::TextView *help = new ts::TextView();
  help->setText("Space: stop/run   N: next frame   Escape: quit");
  help->setLocation(ts::BOTTOM_CENTER);
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
  if (!showSpeeds() || !showCounter() || !showColors()) {
    std::fprintf(stderr, "%s: a sprite did not load; see the log\n", argv[0]);
    game_manager.shutDown();
    return 1;
  }
  showHelp();
  new Controls();
  if (!options.keys.empty() || options.steps >= 0) new Autopilot(options.keys, options.steps);
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
