#include "play/KeyboardHandler.h"

#include <tessera/core/LogManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/world/WorldManager.h>
#include "app/QuitRequest.h"
#include "play/FirstOfType.h"
#include "play/HitZone.h"
#include "play/Lane.h"
#include "play/Note.h"
#include "play/NoteSpawner.h"
#include "play/PressJudge.h"

namespace {

// While the song is held no key judges a note.
bool songIsPaused() {
  const NoteSpawner *p_spawner = firstOfType<NoteSpawner>("NoteSpawner");
  return p_spawner && p_spawner->isPaused();
}

}  // namespace

KeyboardHandler::KeyboardHandler() { registerInterest(ts::KEYBOARD_EVENT); }

int KeyboardHandler::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
  // Only a chart's holds care for releases.
  if (p_keyboard && p_keyboard->getKeyboardAction() == ts::KEY_RELEASED) {
    PressJudge::judgeRelease(*p_keyboard);
    return 1;
  }
  if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 0;

  ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
  ts::LogManager &log = ts::LogManager::getInstance();
  if (p_keyboard->getKey() == ts::Keyboard::ESCAPE) {
    QuitRequest::make();
    return 1;
  }
  if (songIsPaused()) return 1;

  // The note direction an arrow key hits; none for any other key.
  const Lane *p_lane = Lane::ofKey(p_keyboard->getKey());
  for (int i = 0; i < notes.getCount(); ++i) {
    Note *p_note = dynamic_cast<Note *>(notes[i]);
    // A note already hit stays in the world until the end of the frame; a
    // second press in the same frame must not score it again.
    if (!p_note || p_note->isHit()) continue;
    if (!hit_zone::isJudgedRow(p_note->getPosition().getY())) continue;
    if (p_lane && p_note->getDirection() == p_lane->direction) {
      p_note->hit();
      log.writeLog("Correct key pressed! Note hit successfully.");
      break;
    }
    log.writeLog("Incorrect key pressed! No points awarded.");
  }
  return 1;
}
