#include "Autopilot.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>

Autopilot::Autopilot(std::string keys, int steps) : m_keys(keys), m_steps(steps), m_step(0) {
  setType("Autopilot");
  setSolidness(ts::SPECTRAL);
  setVisible(false);
  registerInterest(ts::STEP_EVENT);
}

int Autopilot::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  const int step = m_step++;
  if (step == m_steps) {
    ts::LogManager::getInstance().writeLog("Autopilot: %d steps run", m_steps);
    ts::GameManager::getInstance().setGameOver();
  } else if (step % PRESS_STEPS == 0 && step / PRESS_STEPS < static_cast<int>(m_keys.size())) {
    press(m_keys[step / PRESS_STEPS]);
  }
  return 1;
}

// The input manager hands the event to every object registered for
// keyboard events, as it does for a key of the real keyboard.
void Autopilot::press(char key) const {
  if (key != 'P') return;
  ts::EventKeyboard keyboard;
  keyboard.setKey(ts::Keyboard::P);
  keyboard.setKeyboardAction(ts::KEY_PRESSED);
  ts::InputManager::getInstance().onEvent(&keyboard);
}
