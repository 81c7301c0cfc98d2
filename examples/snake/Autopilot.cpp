#include "Autopilot.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/InputManager.h>
#include <tessera/world/WorldManager.h>

namespace {

// The arrow key for a heading of one cell.
ts::Keyboard::Key keyFor(float dx, float dy) {
  if (dx < 0) return ts::Keyboard::LEFTARROW;
  if (dx > 0) return ts::Keyboard::RIGHTARROW;
  return dy < 0 ? ts::Keyboard::UPARROW : ts::Keyboard::DOWNARROW;
}

}  // namespace

Autopilot::Autopilot(bool steer, int steps) : m_steer(steer), m_steps(steps), m_step(0) {
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
  } else if (m_steer) {
    steer();
  }
  return 1;
}

// Presses a key to turn aside first, then the key towards the food: the
// snake refuses to turn straight back onto its neck, and keeps the first.
void Autopilot::steer() const {
  const ts::WorldManager &world = ts::WorldManager::getInstance();
  const ts::ObjectList snakes = world.objectsOfType("Snake");
  const ts::ObjectList foods = world.objectsOfType("Food");
  if (snakes.isEmpty() || foods.isEmpty()) return;
  const ts::Vector head = snakes[0]->getPosition();
  const ts::Vector gap = foods[0]->getPosition() - head;
  if (gap.getX() != 0) {
    press(keyFor(0, head.getY() < 12 ? 1 : -1));
    press(keyFor(gap.getX(), 0));
  } else {
    press(keyFor(head.getX() < 40 ? 1 : -1, 0));
    press(keyFor(0, gap.getY()));
  }
}

void Autopilot::press(ts::Keyboard::Key key) const {
  ts::EventKeyboard keyboard;
  keyboard.setKey(key);
  keyboard.setKeyboardAction(ts::KEY_PRESSED);
  ts::InputManager::getInstance().onEvent(&keyboard);
}
