// Scroller: a world of 240 x 72 cells, three windows wide and three high.
// The arrow keys fly a ship through it, the view follows the ship, and the
// ship looks for the four beacons hidden in the corners. In the window the
// planets are drawn as shapes (circles, squares, triangles); in a terminal,
// which has no pixels, only their letter.
//
//   scroller                          play
//   scroller --autopilot --steps N    let the autopilot fly, and end after
//                                     N frames
//   scroller --keys KEYS --steps N    play a script of keys instead (L R U
//                                     D for the arrows, one every 60
//                                     frames)
// Run it from the folder that holds its data (sprites/, and the font
// ts-font.ttf for the window).
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/graphics/Shape.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/ViewObject.h>
#include <tessera/world/WorldManager.h>
#include "Autopilot.h"
#include "Beacon.h"
#include "Ship.h"

namespace {

const float WORLD_WIDTH = 240;
const float WORLD_HEIGHT = 72;
const int STARS = 300;

struct Options {
  bool autopilot = false;
  std::string keys;
  int steps = -1;  // -1: until Escape or the last beacon
};

bool parseOptions(int argc, char **argv, Options &options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--autopilot")
      options.autopilot = true;
    else if (argument == "--keys" && i + 1 < argc)
      options.keys = argv[++i];
    else if (argument == "--steps" && i + 1 < argc)
      options.steps = std::atoi(argv[++i]);
    else
      return false;
  }
  return true;
}

bool loadSprites() {
  for (const char *name : {"ship", "beacon", "star", "planet"})
    if (ts::ResourceManager::getInstance().loadSprite(std::string("sprites/") + name + ".txt", name) != 0) return false;
  return true;
}

// Scenery: SPECTRAL, so it never collides; altitude 0, drawn first.
ts::Object *placeScenery(const std::string &sprite, ts::Vector position) {
  ts::Object *object = new ts::Object();  // the world owns it from now on
  object->setSprite(sprite);
  object->setSolidness(ts::SPECTRAL);
  object->setAltitude(0);
  object->setPosition(position);
  return object;
}

// Stars spread evenly over the world, the same in every run.
void placeStars() {
  for (int i = 0; i < STARS; ++i)
    placeScenery("star", ts::Vector(static_cast<float>(i * 37 % 240), static_cast<float>(i * 53 % 72)));
}

// A shape is drawn in pixels around the object's position, over its sprite.
void placePlanet(ts::Vector position, ts::ShapeType type, ts::Color color, float size) {
  ts::Shape shape;
  shape.setType(type);
  shape.setColor(color);
  shape.setSize(size);  // pixels
  placeScenery("planet", position)->setShape(shape);
}

ts::ViewObject *makeCounter(const std::string &label, int location) {
  ts::ViewObject *counter = new ts::ViewObject();
  counter->setViewString(label);
  counter->setValue(0);
  counter->setLocation(location);
  return counter;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--autopilot | --keys KEYS] [--steps N]\n", argv[0]);
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
  // The boundary first: setting it rebuilds the collision grid, which
  // forgets the objects already in the world. The view stays the window's
  // size, 80 x 24.
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.setBoundary(ts::Box(ts::Vector(0, 0), WORLD_WIDTH, WORLD_HEIGHT));
  placeStars();
  placePlanet(ts::Vector(175, 28), ts::CIRCLE, ts::RED, 40);
  placePlanet(ts::Vector(215, 46), ts::SQUARE, ts::GREEN, 36);
  placePlanet(ts::Vector(150, 48), ts::TRIANGLE, ts::CYAN, 48);
  placePlanet(ts::Vector(40, 20), ts::CIRCLE, ts::YELLOW, 30);
  for (const ts::Vector corner : {ts::Vector(225, 4), ts::Vector(225, 66), ts::Vector(12, 66), ts::Vector(12, 4)})
    new Beacon(corner);
  Ship *ship = new Ship(ts::Vector(120, 36));
  // The view keeps the ship within its middle third, and never shows
  // anything beyond the boundary.
  world.setViewFollowing(ship);
  makeCounter("Beacons", ts::TOP_LEFT);
  makeCounter("x", ts::TOP_CENTER);
  makeCounter("y", ts::TOP_RIGHT);
  if (options.autopilot || !options.keys.empty()) new Autopilot(options.keys, options.steps);

  game_manager.run();
  ts::LogManager::getInstance().writeLog("Scroller: the game ended after %d steps", game_manager.getStepCount());
  game_manager.shutDown();
  return 0;
}
