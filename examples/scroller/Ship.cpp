#include "Ship.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/EventView.h>
#include <tessera/world/WorldManager.h>

namespace {

// Cells are twice as high as wide: half the speed up and down looks even.
const float SPEED = 1.0f;

bool inside(const ts::Box &world, ts::Vector position) {
  const ts::Vector corner = world.getCorner();
  return position.getX() >= corner.getX() && position.getY() >= corner.getY() &&
         position.getX() < corner.getX() + world.getHorizontal() &&
         position.getY() < corner.getY() + world.getVertical();
}

// Tells the view object labelled tag its new value.
void show(const std::string &tag, float value) {
  ts::EventView view(tag, static_cast<int>(value), false);  // false: replace, not add
  ts::WorldManager::getInstance().onEvent(&view);
}

}  // namespace

Ship::Ship(ts::Vector start) {
  setType("Ship");
  setSprite("ship");
  setSolidness(ts::SOFT);  // flies over everything, still touches the beacons
  setAltitude(3);          // drawn over the stars
  setPosition(start);
  registerInterest(ts::KEYBOARD_EVENT);
  registerInterest(ts::STEP_EVENT);
}

int Ship::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::KEYBOARD_EVENT) {
    handleKey(static_cast<const ts::EventKeyboard *>(p_event));
    return 1;
  }
  if (p_event->getType() == ts::STEP_EVENT) {
    step();
    return 1;
  }
  return 0;
}

void Ship::handleKey(const ts::EventKeyboard *p_keyboard) {
  if (p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return;
  switch (p_keyboard->getKey()) {
    case ts::Keyboard::LEFTARROW:
      setVelocity(ts::Vector(-SPEED, 0));
      break;
    case ts::Keyboard::RIGHTARROW:
      setVelocity(ts::Vector(SPEED, 0));
      break;
    case ts::Keyboard::UPARROW:
      setVelocity(ts::Vector(0, -SPEED / 2));
      break;
    case ts::Keyboard::DOWNARROW:
      setVelocity(ts::Vector(0, SPEED / 2));
      break;
    case ts::Keyboard::SPACE:
      setVelocity(ts::Vector(0, 0));
      break;
    case ts::Keyboard::ESCAPE:
      ts::GameManager::getInstance().setGameOver();
      break;
    default:
      break;
  }
}

// Steps come before the world moves the objects: predictPosition() is where
// this frame's move would take the ship.
void Ship::step() {
  const ts::Box world = ts::WorldManager::getInstance().getBoundary();
  if (getVelocity() != ts::Vector(0, 0) && !inside(world, predictPosition())) {
    setVelocity(ts::Vector(0, 0));
    ts::LogManager::getInstance().writeLog("Ship: stopped at the edge of the world at %s",
                                           getPosition().toString().c_str());
  }
  // The position in the world; the view's corner is where the window is.
  show("x", getPosition().getX());
  show("y", getPosition().getY());
}
