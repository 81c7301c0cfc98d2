// Chase: a maze larger than the window; the arrow keys move the player, an
// enemy follows the shortest way to it, coins give points.
//
//   chase                                  play
//   chase --autopilot MOVES --steps N      play a script of moves (L R U D,
//                                          anything else waits) and end after
//                                          N frames
// Run it from the folder that holds its data: sprites/, maze.txt and the
// font ts-font.ttf (the build puts them beside the program).
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/ViewObject.h>
#include <tessera/world/WorldManager.h>
#include "Autopilot.h"
#include "Enemy.h"
#include "Maze.h"
#include "Player.h"

namespace {

struct Options {
  std::string moves;
  int steps = -1;  // -1: until the player quits or has no life left
};

bool parseOptions(int argc, char **argv, Options &options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--autopilot" && i + 1 < argc)
      options.moves = argv[++i];
    else if (argument == "--steps" && i + 1 < argc)
      options.steps = std::atoi(argv[++i]);
    else
      return false;
  }
  return true;
}

bool loadSprites() {
  ts::ResourceManager &resources = ts::ResourceManager::getInstance();
  return resources.loadSprite("sprites/player.txt", "player") == 0 &&
         resources.loadSprite("sprites/enemy.txt", "enemy") == 0 &&
         resources.loadSprite("sprites/wall.txt", "wall") == 0 && resources.loadSprite("sprites/coin.txt", "coin") == 0;
}

ts::ViewObject *makeCounter(const std::string &label, int value, int location, ts::Color color) {
  ts::ViewObject *counter = new ts::ViewObject();
  counter->setViewString(label);
  counter->setValue(value);
  counter->setLocation(location);
  counter->setColor(color);
  return counter;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--autopilot MOVES] [--steps N]\n", argv[0]);
    return 2;
  }
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    std::fprintf(stderr, "%s: the engine did not start; see its log\n", argv[0]);
    return 1;
  }
  Maze maze;
  if (!loadSprites() || !maze.load("maze.txt")) {
    game_manager.shutDown();
    return 1;
  }
  // The world as large as the maze. Setting the boundary rebuilds the
  // collision grid for the new extent and files the objects already in the
  // world into it again; setting it first only spares that work.
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.setBoundary(
      ts::Box(ts::Vector(0, 0), static_cast<float>(maze.getWidth()), static_cast<float>(maze.getHeight())));
  maze.build();
  Player *player = new Player(maze.getPlayerStart());
  new Enemy(maze.getEnemyStart());
  world.setViewFollowing(player);
  const ts::ViewObject *score = makeCounter("Score", 0, ts::TOP_LEFT, ts::YELLOW);
  makeCounter("Lives", Player::LIVES, ts::TOP_RIGHT, ts::GREEN);
  if (!options.moves.empty() || options.steps >= 0) new Autopilot(options.moves, options.steps);

  game_manager.run();
  ts::LogManager::getInstance().writeLog("Chase: the game ended after %d steps with score %d and %d lives",
                                         game_manager.getStepCount(), score->getValue(), player->getLives());
  game_manager.shutDown();
  return 0;
}
