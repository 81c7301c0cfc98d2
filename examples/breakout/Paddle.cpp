#include "Paddle.h"

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/WorldManager.h>

Paddle::Paddle() {
  setType("Paddle");
  setSprite("paddle");
  setPosition(ts::Vector(40, ROW));
  registerInterest(ts::KEYBOARD_EVENT);
}

int Paddle::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const auto *p_keyboard = static_cast<const ts::EventKeyboard *>(p_event);
  // KEY_PRESSED comes once, KEY_DOWN in every frame the key stays down.
  const ts::EventKeyboardAction action = p_keyboard->getKeyboardAction();
  if (action != ts::KEY_PRESSED && action != ts::KEY_DOWN) return 0;
  float dx = 0;
  if (p_keyboard->getKey() == ts::Keyboard::LEFTARROW) dx = -1;
  if (p_keyboard->getKey() == ts::Keyboard::RIGHTARROW) dx = 1;
  if (dx == 0) return 0;
  // moveObject, not setPosition: it refuses a move into a wall or the ball.
  ts::WorldManager::getInstance().moveObject(this, getPosition() + ts::Vector(dx, 0));
  return 1;
}
