#include "Controls.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/WorldManager.h>
#include "Exhibit.h"

Controls::Controls() {
  setType("Controls");
  setSolidness(ts::SPECTRAL);
  setVisible(false);
  registerInterest(ts::KEYBOARD_EVENT);
}

int Controls::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::KEYBOARD_EVENT) return ts::Object::eventHandler(p_event);
  const auto *p_keyboard = static_cast<const ts::EventKeyboard *>(p_event);
  if (p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 1;
  if (p_keyboard->getKey() == ts::Keyboard::SPACE) toggleRunning();
  if (p_keyboard->getKey() == ts::Keyboard::N) stepStopped();
  if (p_keyboard->getKey() == ts::Keyboard::ESCAPE) ts::GameManager::getInstance().setGameOver();
  return 1;
}

// The first exhibit decides: if it runs, all stop; otherwise all run.
void Controls::toggleRunning() const {
  const ts::ObjectList exhibits = ts::WorldManager::getInstance().objectsOfType("Exhibit");
  if (exhibits.isEmpty()) return;
  const bool run = !static_cast<const Exhibit *>(exhibits[0])->isRunning();
  for (int i = 0; i < exhibits.getCount(); ++i) static_cast<Exhibit *>(exhibits[i])->setRunning(run);
  ts::LogManager::getInstance().writeLog("Sprites: every animation %s", run ? "runs" : "stopped");
}

void Controls::stepStopped() const {
  const ts::ObjectList exhibits = ts::WorldManager::getInstance().objectsOfType("Exhibit");
  for (int i = 0; i < exhibits.getCount(); ++i) {
    auto *exhibit = static_cast<Exhibit *>(exhibits[i]);
    if (exhibit->isRunning()) continue;
    exhibit->stepFrame();
    ts::LogManager::getInstance().writeLog("Sprites: stepped %s", exhibit->describe().c_str());
  }
}
