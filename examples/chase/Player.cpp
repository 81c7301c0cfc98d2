#include "Player.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/EventView.h>
#include <tessera/world/WorldManager.h>

namespace {

// The step of one cell for an arrow key, or (0, 0) for any other key.
ts::Vector stepOfKey(ts::Keyboard::Key key) {
  switch (key) {
    case ts::Keyboard::LEFTARROW:
      return ts::Vector(-1, 0);
    case ts::Keyboard::RIGHTARROW:
      return ts::Vector(1, 0);
    case ts::Keyboard::UPARROW:
      return ts::Vector(0, -1);
    case ts::Keyboard::DOWNARROW:
      return ts::Vector(0, 1);
    default:
      return ts::Vector(0, 0);
  }
}

}  // namespace

Player::Player(ts::Vector start) : m_start(start), m_lives(LIVES), m_next_held_move(0), m_back_to_start(false) {
  setType("Player");
  setSprite("player");
  // A box of a whole cell would touch the walls beside a corridor (box edges
  // count as overlapping); a little less lets the player pass between them.
  setBox(ts::Box(ts::Vector(-0.495f, -0.495f), 0.99f, 0.99f));
  setAltitude(3);
  setPosition(start);
  registerInterest(ts::KEYBOARD_EVENT);
  registerInterest(ts::STEP_EVENT);
}

int Player::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::KEYBOARD_EVENT) {
    handleKey(static_cast<const ts::EventKeyboard *>(p_event));
    return 1;
  }
  if (p_event->getType() == ts::STEP_EVENT) {
    if (m_back_to_start) {
      m_back_to_start = false;
      ts::WorldManager::getInstance().moveObject(this, m_start);
    }
    return 1;
  }
  return ts::Object::eventHandler(p_event);
}

void Player::handleKey(const ts::EventKeyboard *p_keyboard) {
  const ts::EventKeyboardAction action = p_keyboard->getKeyboardAction();
  if (p_keyboard->getKey() == ts::Keyboard::ESCAPE && action == ts::KEY_PRESSED) {
    ts::GameManager::getInstance().setGameOver();
    return;
  }
  const int step = ts::GameManager::getInstance().getStepCount();
  if (action == ts::KEY_DOWN && step < m_next_held_move) return;
  if (action != ts::KEY_PRESSED && action != ts::KEY_DOWN) return;
  const ts::Vector delta = stepOfKey(p_keyboard->getKey());
  if (delta.getX() == 0 && delta.getY() == 0) return;
  m_next_held_move = step + HOLD_STEPS;
  tryMove(delta);
}

// The world manager moves the object unless something HARD is in the way;
// moving through it (not setPosition) also scrolls the view that follows.
void Player::tryMove(ts::Vector delta) {
  const ts::Vector target = getPosition() + delta;
  if (ts::WorldManager::getInstance().moveObject(this, target) != 0)
    ts::LogManager::getInstance().writeLog("Player: a wall stopped the move to %s", target.toString().c_str());
}

void Player::caught() {
  --m_lives;
  ts::EventView lives("Lives", m_lives, false);
  ts::WorldManager::getInstance().onEvent(&lives);
  ts::LogManager::getInstance().writeLog("Player: caught at %s, %d lives left", getPosition().toString().c_str(),
                                         m_lives);
  if (m_lives == 0)
    ts::GameManager::getInstance().setGameOver();
  else
    m_back_to_start = true;
}
