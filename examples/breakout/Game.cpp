#include "Game.h"

#include <algorithm>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/world/WorldManager.h>
#include "Ball.h"

namespace {

// One brick sprite; each row draws it in a colour of its own.
const ts::Color BRICK_COLORS[] = {ts::RED, ts::YELLOW, ts::GREEN, ts::CYAN};
const int BRICKS_PER_ROW = 9;
const int BRICK_WIDTH = 8;
const int FIRST_BRICK_ROW = 3;
const int MOST_ROWS = 8;  // well above where the ball is served and the paddle

// Walls and bricks need no code of their own: plain objects, HARD (the
// default), so the ball bounces off them. The ball breaks the bricks.
ts::Object *placeBlock(const std::string &type, const std::string &sprite, ts::Vector position) {
  ts::Object *block = new ts::Object();  // the world owns it from now on
  block->setType(type);
  block->setSprite(sprite);
  block->setPosition(position);
  return block;
}

// Walls left, right and along the top; the bottom stays open.
void buildWalls() {
  const ts::Box world = ts::WorldManager::getInstance().getBoundary();
  const int width = static_cast<int>(world.getHorizontal());
  const int height = static_cast<int>(world.getVertical());
  for (int x = 0; x < width; ++x) placeBlock("Wall", "wall", ts::Vector(x, 1));
  for (int y = 2; y < height; ++y) {
    placeBlock("Wall", "wall", ts::Vector(1, y));
    placeBlock("Wall", "wall", ts::Vector(width - 2, y));
  }
}

ts::ViewObject *makeCounter(const std::string &label, int value, int location) {
  ts::ViewObject *counter = new ts::ViewObject();
  counter->setViewString(label);
  counter->setValue(value);
  counter->setLocation(location);
  counter->setBorder(false);  // one row, above the top wall
  return counter;
}

// Objects marked for deletion are out of play at once, though the world
// lists them until the end of the frame: they do not count.
int countInPlay(const std::string &type) {
  const ts::ObjectList objects = ts::WorldManager::getInstance().objectsOfType(type);
  int count = 0;
  for (int i = 0; i < objects.getCount(); ++i)
    if (!objects[i]->isMarkedForDelete()) ++count;
  return count;
}

}  // namespace

Game::Game() : m_message(nullptr) {
  setType("Game");
  setSolidness(ts::SPECTRAL);  // takes part in no collision
  setVisible(false);
  m_score = makeCounter("Score", 0, ts::TOP_LEFT);
  m_level = makeCounter("Level", 1, ts::TOP_CENTER);
  m_lives = makeCounter("Lives", LIVES, ts::TOP_RIGHT);
  registerInterest(ts::STEP_EVENT);
  registerInterest(ts::KEYBOARD_EVENT);
  buildWalls();
  startLevel(1);
}

int Game::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::STEP_EVENT) {
    step();
    return 1;
  }
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const auto *p_keyboard = static_cast<const ts::EventKeyboard *>(p_event);
  if (p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 0;
  if (p_keyboard->getKey() == ts::Keyboard::ESCAPE) ts::GameManager::getInstance().setGameOver();
  if (p_keyboard->getKey() == ts::Keyboard::SPACE && m_message) newGame();
  return 1;
}

void Game::step() {
  if (m_message) return;
  if (countInPlay("Brick") == 0) {
    // The old ball, once marked, no longer moves: it cannot hit the new wall.
    ts::WorldManager::getInstance().markAllForDelete("Ball");
    m_level->setValue(m_level->getValue() + 1);
    startLevel(m_level->getValue());
  } else if (countInPlay("Ball") == 0) {
    ballLost();
  }
}

// One row more at each level, up to MOST_ROWS, coloured in turn.
void Game::startLevel(int level) {
  const int rows = std::min(level, MOST_ROWS);
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < BRICKS_PER_ROW; ++column) {
      // A position is the middle of the sprite; the bricks start at column 4.
      const ts::Vector middle(4 + BRICK_WIDTH * column + BRICK_WIDTH / 2, FIRST_BRICK_ROW + row);
      placeBlock("Brick", "brick", middle)->setSpriteColor(BRICK_COLORS[row % 4]);
    }
  new Ball(level);
  ts::LogManager::getInstance().writeLog("Game: level %d with %d bricks", level, rows * BRICKS_PER_ROW);
}

void Game::ballLost() {
  m_lives->setValue(m_lives->getValue() - 1);
  if (m_lives->getValue() == 0) {
    gameOver();
    return;
  }
  new Ball(m_level->getValue());
}

void Game::gameOver() {
  ts::LogManager::getInstance().writeLog("Game: over at level %d with score %d", m_level->getValue(),
                                         m_score->getValue());
  m_message = new ts::TextView();
  m_message->setType("GameOver");  // the autopilot looks for it
  m_message->setText("Game over\nSpace: play again, Escape: quit");
  m_message->setLocation(ts::CENTER_CENTER);
  m_message->setColor(ts::RED);
}

void Game::newGame() {
  ts::WorldManager::getInstance().markForDelete(m_message);
  m_message = nullptr;
  ts::WorldManager::getInstance().markAllForDelete("Brick");  // the next step, seeing none, builds level 1
  m_score->setValue(0);
  m_lives->setValue(LIVES);
  m_level->setValue(0);
  ts::LogManager::getInstance().writeLog("Game: a new game");
}
