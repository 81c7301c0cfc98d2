#include "Autopilot.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/InputManager.h>
#include <tessera/world/WorldManager.h>
#include "Snake.h"

namespace {

// The arrow key for a heading of one cell.
ts::Keyboard::Key keyFor(float dx, float dy) {
  if (dx < 0) return ts::Keyboard::LEFTARROW;
  if (dx > 0) return ts::Keyboard::RIGHTARROW;
  return dy < 0 ? ts::Keyboard::UPARROW : ts::Keyboard::DOWNARROW;
}

}  // namespace

Autopilot::Autopilot(int steps) : m_steps(steps), m_step(0) {
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
  } else {
    steer();
  }
  return 1;
}

// Along the food's row or column first, never straight back (the snake
// would refuse): then it turns aside.
void Autopilot::steer() const {
  const ts::WorldManager &world = ts::WorldManager::getInstance();
  const ts::ObjectList snakes = world.objectsOfType("Snake");
  const ts::ObjectList foods = world.objectsOfType("Food");
  if (snakes.isEmpty() || foods.isEmpty()) return;
  const Snake *snake = static_cast<const Snake *>(snakes[0]);
  const ts::Vector gap = foods[0]->getPosition() - snake->getPosition();
  const ts::Vector heading = snake->getHeading();
  ts::Keyboard::Key key;
  if (gap.getX() != 0 && gap.getX() * heading.getX() >= 0)
    key = keyFor(gap.getX(), 0);
  else if (gap.getY() != 0 && gap.getY() * heading.getY() >= 0)
    key = keyFor(0, gap.getY());
  else if (heading.getX() != 0)  // food straight behind: aside first
    key = keyFor(0, snake->getPosition().getY() < 12 ? 1 : -1);
  else
    key = keyFor(snake->getPosition().getX() < 40 ? 1 : -1, 0);
  ts::EventKeyboard keyboard;
  keyboard.setKey(key);
  keyboard.setKeyboardAction(ts::KEY_PRESSED);
  ts::InputManager::getInstance().onEvent(&keyboard);
}
