#include "Autopilot.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/input/InputManager.h>
#include <tessera/world/WorldManager.h>
#include "Court.h"

namespace {

// How far from the ball a paddle that means to miss it stays.
const int MISS_DISTANCE = 8;

}  // namespace

Autopilot::Autopilot(std::string script, int steps)
    : m_script(script),
      m_next_letter(0),
      m_hit(true),
      m_coming(false),
      m_last_x(-1),
      m_last_y(-1),
      m_steps(steps),
      m_step(0) {
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
  const ts::ObjectList courts = ts::WorldManager::getInstance().objectsOfType("Court");
  if (!courts.isEmpty()) follow(*static_cast<const Court *>(courts[0]));
  return 1;
}

// Acts once for each new position of the ball, not once per frame: the two
// players' frames do not line up, but the ball's moves are the same for both.
void Autopilot::follow(const Court &court) {
  const int x = court.getBallX(), y = court.getBallY();
  if (x == m_last_x && y == m_last_y) return;
  const bool coming = court.getSide() == Court::HOST ? x < m_last_x : x > m_last_x;
  if (coming && !m_coming) decideNextBall();
  m_coming = coming;
  m_last_x = x;
  m_last_y = y;
  press(targetRow(court) - court.getPaddle(court.getSide()));
}

void Autopilot::decideNextBall() {
  m_hit = m_next_letter < m_script.size() && m_script[m_next_letter] == 'H';
  ++m_next_letter;
}

int Autopilot::targetRow(const Court &court) const {
  const int y = court.getBallY();
  if (m_hit) return y;
  return y < (Court::TOP + Court::BOTTOM) / 2 ? y + MISS_DISTANCE : y - MISS_DISTANCE;
}

// The input manager hands the event to every object registered for keyboard
// events, as it does for a key of the real keyboard.
void Autopilot::press(int rows) const {
  if (rows == 0) return;
  ts::EventKeyboard keyboard;
  keyboard.setKey(rows < 0 ? ts::Keyboard::UPARROW : ts::Keyboard::DOWNARROW);
  keyboard.setKeyboardAction(ts::KEY_PRESSED);
  ts::InputManager::getInstance().onEvent(&keyboard);
}
