#include "Ship.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/WorldManager.h>

Ship::Ship() : m_laps(0) {
  setType("Ship");
  setSprite("ship");  // loaded by main under this label; also sets the box
  setPosition(ts::Vector(0, 10));
  // Step events come once a frame, keyboard events whenever a key goes down,
  // is held or comes up: an object gets only the events it asks for.
  registerInterest(ts::STEP_EVENT);
  registerInterest(ts::KEYBOARD_EVENT);
}

int Ship::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::STEP_EVENT) {
    step();
    return 1;
  }
  if (p_event->getType() == ts::KEYBOARD_EVENT) {
    handleKey(static_cast<const ts::EventKeyboard *>(p_event));
    return 1;
  }
  return 0;  // not handled: the caller may pass the event on
}

// Moves on a little each frame; past the right edge of the world it comes
// back in at the left.
void Ship::step() {
  ts::Vector position = getPosition();
  position.setX(position.getX() + CELLS_PER_STEP);
  const float width = ts::WorldManager::getInstance().getBoundary().getHorizontal();
  if (position.getX() >= width) {
    position.setX(0);
    ++m_laps;
    ts::LogManager::getInstance().writeLog("Ship: lap %d done at step %d", m_laps,
                                           ts::GameManager::getInstance().getStepCount());
  }
  setPosition(position);
}

void Ship::handleKey(const ts::EventKeyboard *p_keyboard) {
  // One move per press; KEY_DOWN repeats every frame while the key is held.
  if (p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return;
  switch (p_keyboard->getKey()) {
    case ts::Keyboard::UPARROW:
      changeRow(-1);
      break;
    case ts::Keyboard::DOWNARROW:
      changeRow(1);
      break;
    case ts::Keyboard::ESCAPE:
      ts::LogManager::getInstance().writeLog("Ship: Escape pressed");
      ts::GameManager::getInstance().setGameOver();  // run() returns after this frame
      break;
    default:
      break;
  }
}

// Keeps the ship between the top row and the row above the text line.
void Ship::changeRow(int rows) {
  const float last_row = ts::WorldManager::getInstance().getBoundary().getVertical() - 3;
  ts::Vector position = getPosition();
  const float row = position.getY() + static_cast<float>(rows);
  if (row < 0 || row > last_row) return;
  position.setY(row);
  setPosition(position);
  ts::LogManager::getInstance().writeLog("Ship: now on row %d", static_cast<int>(row));
}
