#include "Snake.h"

#include <algorithm>
#include <ctime>

#include <tessera/core/Config.h>
#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/EventCollision.h>
#include <tessera/world/EventView.h>
#include <tessera/world/TextView.h>
#include <tessera/world/WorldManager.h>

namespace {

const int FIRST_LENGTH = 3;
const int FOOD_TRIES = 1000;

// A box a little smaller than the cell: box edges that meet count as
// touching, and a head beside its own body must not collide with it.
ts::Object *makePart(const std::string &type, const std::string &sprite, ts::Vector cell) {
  ts::Object *part = new ts::Object();  // the world owns it from now on
  part->setType(type);
  part->setSprite(sprite);
  part->setBox(ts::Box(ts::Vector(-0.4f, -0.4f), 0.8f, 0.8f));
  part->setSolidness(ts::SOFT);  // collides, but blocks nothing
  part->setPosition(cell);
  return part;
}

// The setting random_seed seeds the food: a fixed seed gives the same food
// cells in every run, 0 (the default) a new game each time.
uint64_t foodSeed() {
  const int seed = ts::Config::getInstance().getRandomSeed();
  return seed > 0 ? static_cast<uint64_t>(seed) : static_cast<uint64_t>(std::time(nullptr));
}

ts::Vector randomCell(const ts::Box &world, ts::Random &random) {
  const int x = random.between(0, static_cast<int>(world.getHorizontal()) - 1);
  const int y = random.between(0, static_cast<int>(world.getVertical()) - 1);
  return world.getCorner() + ts::Vector(static_cast<float>(x), static_cast<float>(y));
}

// Whether the cell is one of the world's. Not the world's "ts-out" event:
// that comes once the box is wholly outside, and a box's edges on the
// boundary still count as inside, a cell too late.
bool inWorld(const ts::Box &world, ts::Vector cell) {
  const ts::Vector corner = world.getCorner();
  return cell.getX() >= corner.getX() && cell.getY() >= corner.getY() &&
         cell.getX() < corner.getX() + world.getHorizontal() && cell.getY() < corner.getY() + world.getVertical();
}

}  // namespace

Snake::Snake(ts::Vector start)
    : m_heading(1, 0), m_turn(1, 0), m_delay(FIRST_DELAY), m_grow(0), m_crashed(false), m_random(foodSeed()) {
  setType("Snake");
  setSprite("head");
  setBox(ts::Box(ts::Vector(-0.4f, -0.4f), 0.8f, 0.8f));
  setSolidness(ts::SOFT);
  setPosition(start);
  for (int i = 1; i < FIRST_LENGTH; ++i) m_body.push_back(makePart("Body", "body", start - ts::Vector(i, 0)));
  registerInterest(ts::KEYBOARD_EVENT);
  // The world moves objects by a velocity every frame, but a grid game
  // moves a whole cell at a time: a repeating timer says when.
  setTimer("move", m_delay, true);
  placeFood(start);
}

int Snake::eventHandler(const ts::Event *p_event) {
  const std::string type = p_event->getType();
  if (type == ts::TIMER_EVENT) {
    advance();
  } else if (type == ts::KEYBOARD_EVENT) {
    turn(static_cast<const ts::EventKeyboard *>(p_event));
  } else if (type == ts::COLLISION_EVENT) {
    ts::Object *p_other = static_cast<const ts::EventCollision *>(p_event)->getObject2();
    if (p_other->getType() == "Food") eat(p_other);
    if (p_other->getType() == "Body") crash("into itself");
  } else {
    return 0;
  }
  return 1;
}

// The turn waits for the next move; turning back onto the neck is refused.
void Snake::turn(const ts::EventKeyboard *p_keyboard) {
  if (p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return;
  ts::Vector heading;
  switch (p_keyboard->getKey()) {
    case ts::Keyboard::LEFTARROW:
      heading = ts::Vector(-1, 0);
      break;
    case ts::Keyboard::RIGHTARROW:
      heading = ts::Vector(1, 0);
      break;
    case ts::Keyboard::UPARROW:
      heading = ts::Vector(0, -1);
      break;
    case ts::Keyboard::DOWNARROW:
      heading = ts::Vector(0, 1);
      break;
    case ts::Keyboard::ESCAPE:
      ts::GameManager::getInstance().setGameOver();
      return;
    default:
      return;
  }
  if (heading + m_heading != ts::Vector(0, 0)) m_turn = heading;
}

// The tail moves (or a new segment appears) where the head was, then the
// head moves on: the cell the tail leaves is free for the head to enter.
void Snake::advance() {
  const ts::Vector neck = getPosition();
  if (!inWorld(ts::WorldManager::getInstance().getBoundary(), neck + m_turn)) {
    crash("off the world");
    return;
  }
  if (m_grow > 0) {
    --m_grow;
    m_body.push_front(makePart("Body", "body", neck));
  } else if (!m_body.empty()) {
    m_body.back()->setPosition(neck);  // no collision test: only the head collides
    m_body.push_front(m_body.back());
    m_body.pop_back();
  }
  m_heading = m_turn;
  // moveObject reports what the head runs into: food, or its own body.
  ts::WorldManager::getInstance().moveObject(this, neck + m_heading);
}

void Snake::eat(ts::Object *p_food) {
  ts::WorldManager::getInstance().markForDelete(p_food);
  ++m_grow;
  const int length = getLength() + m_grow;
  m_delay = std::max(FASTEST_DELAY, FIRST_DELAY - length / 3);
  setTimer("move", m_delay, true);  // the next move comes at the new pace
  ts::EventView score("Length", 1, true);
  ts::WorldManager::getInstance().onEvent(&score);
  ts::LogManager::getInstance().writeLog("Snake: ate the food at %s, length %d, a move every %d frames",
                                         p_food->getPosition().toString().c_str(), length, m_delay);
  placeFood(p_food->getPosition());
}

void Snake::crash(const char *what) {
  if (m_crashed) return;
  m_crashed = true;
  cancelTimer("move");
  ts::LogManager::getInstance().writeLog("Snake: ran %s at %s, length %d", what, getPosition().toString().c_str(),
                                         getLength());
  ts::TextView *message = new ts::TextView();
  message->setText("Game over\nEscape: quit");
  message->setLocation(ts::CENTER_CENTER);
  message->setColor(ts::RED);
}

// Tries random cells until one is free of the snake and is not `entering`,
// the cell the head is moving into: the food eaten there is out of play once
// marked, so the world no longer reports that cell as taken. A full world
// leaves the snake without food.
void Snake::placeFood(ts::Vector entering) {
  ts::WorldManager &world = ts::WorldManager::getInstance();
  ts::Object *food = makePart("Food", "food", ts::Vector(-1, -1));
  for (int i = 0; i < FOOD_TRIES; ++i) {
    const ts::Vector cell = randomCell(world.getBoundary(), m_random);
    if (cell != entering && world.getCollisions(food, cell).isEmpty()) {
      food->setPosition(cell);
      ts::LogManager::getInstance().writeLog("Snake: food at %s", cell.toString().c_str());
      return;
    }
  }
  world.markForDelete(food);
}
