#include "KeyScript.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>

KeyScript::KeyScript(std::string keys, int steps) : m_keys(keys), m_steps(steps), m_step(0) {
  setType("KeyScript");
  setSolidness(ts::SPECTRAL);
  setVisible(false);
  registerInterest(ts::STEP_EVENT);
}

int KeyScript::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  const int step = m_step++;
  if (step == m_steps) {
    ts::LogManager::getInstance().writeLog("KeyScript: %d steps run", m_steps);
    ts::GameManager::getInstance().setGameOver();
  } else if (step % PRESS_STEPS == 0 && step / PRESS_STEPS < static_cast<int>(m_keys.size())) {
    press(m_keys[step / PRESS_STEPS]);
  }
  return 1;
}

// The input manager hands the event to every object registered for
// keyboard events, just as it does with a key of the real keyboard.
void KeyScript::press(char key) const {
  ts::EventKeyboard keyboard;
  switch (key) {
    case 'U':
      keyboard.setKey(ts::Keyboard::UPARROW);
      break;
    case 'D':
      keyboard.setKey(ts::Keyboard::DOWNARROW);
      break;
    case 'Q':
      keyboard.setKey(ts::Keyboard::ESCAPE);
      break;
    default:
      return;
  }
  keyboard.setKeyboardAction(ts::KEY_PRESSED);
  ts::InputManager::getInstance().onEvent(&keyboard);
}
