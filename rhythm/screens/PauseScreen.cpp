#include "screens/PauseScreen.h"

#include <tessera/graphics/DisplayManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/world/WorldManager.h>
#include "play/FirstOfType.h"
#include "play/NoteSpawner.h"

namespace {
// Above the judgement word, which stays in the middle of the screen.
const float TITLE_ROW = 9;
const float HINT_ROW = 10;
}  // namespace

PauseScreen::PauseScreen() {
  setType("PauseScreen");
  setSolidness(ts::SPECTRAL);
  setAltitude(ts::MAX_ALTITUDE);
  registerInterest(ts::KEYBOARD_EVENT);
}

NoteSpawner *PauseScreen::spawner() { return firstOfType<NoteSpawner>("NoteSpawner"); }

int PauseScreen::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
  if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED || p_keyboard->getKey() != ts::Keyboard::P)
    return 0;
  NoteSpawner *p_spawner = spawner();
  if (p_spawner && !p_spawner->resume()) p_spawner->pause();
  return 1;
}

bool PauseScreen::isShowing() const {
  const NoteSpawner *p_spawner = spawner();
  return p_spawner && p_spawner->isPaused();
}

int PauseScreen::draw() {
  if (!isShowing()) return 0;
  const float middle = ts::WorldManager::getInstance().getBoundary().getHorizontal() / 2;
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  display.drawString(ts::Vector(middle, TITLE_ROW), " Paused ", ts::CENTER_JUSTIFIED, ts::WHITE);
  display.drawString(ts::Vector(middle, HINT_ROW), " P: play on    Esc: quit ", ts::CENTER_JUSTIFIED, ts::WHITE);
  return 0;
}
