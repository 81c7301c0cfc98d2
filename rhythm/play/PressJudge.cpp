#include "play/PressJudge.h"

#include <cmath>

#include <tessera/core/LogManager.h>
#include <tessera/world/WorldManager.h>
#include "app/QuitRequest.h"
#include "play/FirstOfType.h"
#include "play/Lane.h"
#include "play/Note.h"
#include "play/NoteSpawner.h"
#include "play/TimingWindow.h"

PressJudge::PressJudge() {
  setType("PressJudge");
  registerInterest(ts::KEYBOARD_EVENT);
}

int PressJudge::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
  if (p_keyboard && p_keyboard->getKeyboardAction() == ts::KEY_RELEASED) {
    judgeRelease(*p_keyboard);
    return 1;
  }
  if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 0;
  if (p_keyboard->getKey() == ts::Keyboard::ESCAPE) {
    if (m_quits_on_escape) QuitRequest::make();
    return 1;
  }
  judgePress(*p_keyboard);
  return 1;
}

void PressJudge::judgePress(const ts::EventKeyboard &press) const {
  const Lane *p_lane = Lane::ofKey(press.getKey());
  NoteSpawner *p_spawner = firstOfType<NoteSpawner>("NoteSpawner");
  if (!p_lane || !p_spawner || p_spawner->isPaused()) return;
  Note *p_nearest = nullptr;
  double nearest_offset = 0.0;
  bool other_lane_near = false;
  const ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
  for (int i = 0; i < notes.getCount(); ++i) {
    Note *p_note = dynamic_cast<Note *>(notes[i]);
    // A note already judged stays in the world until the end of the frame.
    if (!p_note || p_note->isHit()) continue;
    const double offset = p_spawner->offsetOfPress(press.getTime(), *p_note);
    if (std::fabs(offset) > timing_window::MISS_MS) continue;
    if (p_note->getDirection() != p_lane->direction) {
      other_lane_near = true;
      continue;
    }
    if (!p_nearest || std::fabs(offset) < std::fabs(nearest_offset)) {
      p_nearest = p_note;
      nearest_offset = offset;
    }
  }
  ts::LogManager &log = ts::LogManager::getInstance();
  if (p_nearest) {
    p_nearest->judge(nearest_offset);
    log.writeLog("Correct key pressed! Note hit successfully.");
  } else if (other_lane_near) {
    log.writeLog("Incorrect key pressed! No points awarded.");
  }
}

void PressJudge::judgeRelease(const ts::EventKeyboard &release) {
  const Lane *p_lane = Lane::ofKey(release.getKey());
  const NoteSpawner *p_spawner = firstOfType<NoteSpawner>("NoteSpawner");
  if (!p_lane || !p_spawner) return;
  const ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
  for (int i = 0; i < notes.getCount(); ++i) {
    Note *p_note = dynamic_cast<Note *>(notes[i]);
    if (!p_note || !p_note->isHolding() || p_note->getDirection() != p_lane->direction) continue;
    const NoteClock &clock = p_spawner->getNoteClock();
    const double offset_ms = p_spawner->isPaused() ? (clock.getPosition() - p_note->getTailStep()) * clock.getStepMs()
                                                   : p_spawner->offsetOfPress(release.getTime(), *p_note) -
                                                         p_note->getHoldSteps() * clock.getStepMs();
    p_note->release(offset_ms);
  }
}
