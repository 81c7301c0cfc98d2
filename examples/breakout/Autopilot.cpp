#include "Autopilot.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/InputManager.h>
#include <tessera/world/WorldManager.h>

Autopilot::Autopilot(bool follow, int steps) : m_follow(follow), m_steps(steps), m_step(0) {
  setType("Autopilot");
  setSolidness(ts::SPECTRAL);
  setVisible(false);
  registerInterest(ts::STEP_EVENT);
}

int Autopilot::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  if (m_step++ == m_steps) {
    ts::LogManager::getInstance().writeLog("Autopilot: %d steps run", m_steps);
    ts::GameManager::getInstance().setGameOver();
    return 1;
  }
  play();
  return 1;
}

// Objects are found by type each frame rather than kept: a ball lost in
// the last frame is destroyed, and a new one has been served.
void Autopilot::play() const {
  const ts::WorldManager &world = ts::WorldManager::getInstance();
  if (!world.objectsOfType("GameOver").isEmpty()) {
    press(ts::Keyboard::SPACE, ts::KEY_PRESSED);
    return;
  }
  const ts::ObjectList balls = world.objectsOfType("Ball");
  const ts::ObjectList paddles = world.objectsOfType("Paddle");
  if (!m_follow || balls.isEmpty() || paddles.isEmpty()) return;
  // Where the ball meets the paddle sets the angle it leaves at: aim at a
  // different point of the paddle now and then, so the ball reaches every
  // brick.
  const float aims[] = {-3, 1, 3, -1, 2, -4, 4, -2};
  const float aim = aims[m_step / AIM_STEPS % 8];
  const float gap = balls[0]->getPosition().getX() - aim - paddles[0]->getPosition().getX();
  if (gap < -1) press(ts::Keyboard::LEFTARROW, ts::KEY_DOWN);
  if (gap > 1) press(ts::Keyboard::RIGHTARROW, ts::KEY_DOWN);
}

void Autopilot::press(ts::Keyboard::Key key, ts::EventKeyboardAction action) const {
  ts::EventKeyboard keyboard;
  keyboard.setKey(key);
  keyboard.setKeyboardAction(action);
  ts::InputManager::getInstance().onEvent(&keyboard);
}
