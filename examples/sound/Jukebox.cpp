#include "Jukebox.h"

#include <cstdio>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/graphics/DisplayManager.h>

Jukebox::Jukebox(ts::Music *p_music) : m_p_music(p_music), m_last_offset(0), m_loops(0) {
  setType("Jukebox");
  setSolidness(ts::SPECTRAL);
  registerInterest(ts::STEP_EVENT);
  registerInterest(ts::KEYBOARD_EVENT);
  m_p_music->play(true);  // true: start over at the end, until stopped
}

int Jukebox::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::STEP_EVENT) {
    noticeLoop();
    return 1;
  }
  if (p_event->getType() == ts::KEYBOARD_EVENT) {
    const auto *p_keyboard = static_cast<const ts::EventKeyboard *>(p_event);
    if (p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 1;
    if (p_keyboard->getKey() == ts::Keyboard::P) togglePause();
    if (p_keyboard->getKey() == ts::Keyboard::ESCAPE) ts::GameManager::getInstance().setGameOver();
    return 1;
  }
  return ts::Object::eventHandler(p_event);
}

// The music plays on its own threads; the game sees only where it is. An
// offset smaller than at the last step means the track started over, if it
// still plays (a track that ends without looping is back at 0 too).
void Jukebox::noticeLoop() {
  const float offset = m_p_music->getPlayingOffset();
  if (m_p_music->isPlaying() && offset < m_last_offset) {
    ++m_loops;
    ts::LogManager::getInstance().writeLog("Sound: the music started over (%d)", m_loops);
  }
  m_last_offset = offset;
}

void Jukebox::togglePause() {
  ts::LogManager &log = ts::LogManager::getInstance();
  if (m_p_music->isPaused()) {
    m_p_music->resume();  // from where it was held
    log.writeLog("Sound: the music resumed at %.2f s", m_p_music->getPlayingOffset());
  } else {
    m_p_music->pause();
    log.writeLog("Sound: the music paused at %.2f s", m_p_music->getPlayingOffset());
  }
}

int Jukebox::draw() {
  const ts::DisplayManager &display = ts::DisplayManager::getInstance();
  const float offset = m_p_music->getPlayingOffset(), duration = m_p_music->getDuration();
  char status[80];
  std::snprintf(status, sizeof status, "music %s  %.1f of %.1f s  started over %d times",
                m_p_music->isPaused() ? "paused " : "playing", offset, duration, m_loops);
  display.drawString(ts::Vector(40, 1), status, ts::CENTER_JUSTIFIED, ts::GREEN);
  // How far into the loop, as a bar of BAR_CELLS cells.
  const int filled = duration > 0 ? static_cast<int>(BAR_CELLS * offset / duration) : 0;
  const std::string bar = "[" + std::string(filled, '=') + std::string(BAR_CELLS - filled, ' ') + "]";
  display.drawString(ts::Vector(40, 3), bar, ts::CENTER_JUSTIFIED, ts::CYAN);
  display.drawString(ts::Vector(40, 22), "P: pause/resume the music   Escape: quit", ts::CENTER_JUSTIFIED, ts::WHITE);
  return 0;
}
