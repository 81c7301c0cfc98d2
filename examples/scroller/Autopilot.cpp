#include "Autopilot.h"

#include <cmath>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>
#include <tessera/world/WorldManager.h>

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
  ts::Keyboard::Key key;
  if (std::fabs(gap.getX()) >= 1)
    key = gap.getX() < 0 ? ts::Keyboard::LEFTARROW : ts::Keyboard::RIGHTARROW;
  else
    key = gap.getY() < 0 ? ts::Keyboard::UPARROW : ts::Keyboard::DOWNARROW;
  ts::EventKeyboard keyboard;
  keyboard.setKey(key);
  keyboard.setKeyboardAction(ts::KEY_PRESSED);
  ts::InputManager::getInstance().onEvent(&keyboard);
}
