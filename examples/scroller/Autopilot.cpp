#include "Autopilot.h"

#include <cmath>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>
#include <tessera/world/WorldManager.h>

Autopilot::Autopilot(std::string keys, int steps) : m_keys(keys), m_steps(steps), m_step(0) {
  setType("Autopilot");
  setSolidness(ts::SPECTRAL);
  setVisible(false);
  registerInterest(ts::STEP_EVENT);
}

int Autopilot::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  if (m_step == m_steps) {
    ts::LogManager::getInstance().writeLog("Autopilot: %d steps run", m_steps);
    ts::GameManager::getInstance().setGameOver();
  } else if (m_keys.empty()) {
    steer();
  } else {
    playScript();
  }
  ++m_step;
  return 1;
}

void Autopilot::playScript() const {
  const size_t index = static_cast<size_t>(m_step / KEY_STEPS);
  if (m_step % KEY_STEPS != 0 || index >= m_keys.size()) return;
  switch (m_keys[index]) {
    case 'L':
      press(ts::Keyboard::LEFTARROW);
      break;
    case 'R':
      press(ts::Keyboard::RIGHTARROW);
      break;
    case 'U':
      press(ts::Keyboard::UPARROW);
      break;
    case 'D':
      press(ts::Keyboard::DOWNARROW);
      break;
    default:
      break;
  }
}

// Across first, then up or down: the ship flies along one axis at a time.
void Autopilot::steer() const {
  const ts::WorldManager &world = ts::WorldManager::getInstance();
  const ts::ObjectList ships = world.objectsOfType("Ship");
  const ts::ObjectList beacons = world.objectsOfType("Beacon");
  if (ships.isEmpty() || beacons.isEmpty()) return;
  const ts::Vector ship = ships[0]->getPosition();
  ts::Vector nearest = beacons[0]->getPosition();
  for (int i = 1; i < beacons.getCount(); ++i)
    if ((beacons[i]->getPosition() - ship).getMagnitude() < (nearest - ship).getMagnitude())
      nearest = beacons[i]->getPosition();
  const ts::Vector gap = nearest - ship;
  if (std::fabs(gap.getX()) >= 1)
    press(gap.getX() < 0 ? ts::Keyboard::LEFTARROW : ts::Keyboard::RIGHTARROW);
  else
    press(gap.getY() < 0 ? ts::Keyboard::UPARROW : ts::Keyboard::DOWNARROW);
}

void Autopilot::press(ts::Keyboard::Key key) const {
  ts::EventKeyboard keyboard;
  keyboard.setKey(key);
  keyboard.setKeyboardAction(ts::KEY_PRESSED);
  ts::InputManager::getInstance().onEvent(&keyboard);
}
