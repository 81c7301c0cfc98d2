#include "play/DemoPlayer.h"

#include <cmath>

#include <tessera/audio/Music.h>
#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/InputManager.h>
#include <tessera/system/Clock.h>
#include <tessera/world/WorldManager.h>
#include "play/Beat.h"
#include "play/FirstOfType.h"
#include "play/HitZone.h"
#include "play/Lane.h"
#include "play/Note.h"
#include "play/NoteSpawner.h"

namespace {

ts::Keyboard::Key keyOfDirection(const std::string &direction) {
  const Lane *p_lane = Lane::ofDirection(direction);
  return p_lane ? p_lane->key : ts::Keyboard::DOWNARROW;
}

NoteSpawner *spawner() { return firstOfType<NoteSpawner>("NoteSpawner"); }

}  // namespace

DemoPlayer::DemoPlayer(int track, Rules rules)
    : m_track(track), m_rules(rules), m_track_started(false), m_start_step(0), m_start_us(0), m_press_count(0) {
  setType("DemoPlayer");
  registerInterest(ts::STEP_EVENT);
}

int DemoPlayer::trackOfArgument(const std::string &argument) {
  if (argument.size() != 1 || argument[0] < '1' || argument[0] > '9') return 0;
  return argument[0] - '0';
}

int DemoPlayer::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  if (!m_track_started) {
    m_track_started = true;
    m_start_step = ts::GameManager::getInstance().getStepCount();
    m_start_us = ts::monotonicMicroseconds();
    ts::LogManager::getInstance().writeLog("Demo: playing track %d.", m_track);
    pressKey(static_cast<ts::Keyboard::Key>(ts::Keyboard::NUM1 + (m_track - 1)), m_start_us);
    return 1;
  }
  playDueNotes();
  return 1;
}

void DemoPlayer::pressKey(ts::Keyboard::Key key, int64_t time_us, ts::EventKeyboardAction action) const {
  ts::EventKeyboard keyboard_event;
  keyboard_event.setKey(key);
  keyboard_event.setTime(time_us);
  keyboard_event.setKeyboardAction(action);
  ts::InputManager::getInstance().onEvent(&keyboard_event);
}

// Presses once for each note that is due.
void DemoPlayer::playDueNotes() {
  ts::ObjectList notes = ts::WorldManager::getInstance().objectsOfType("Note");
  const int64_t now_us = ts::monotonicMicroseconds();
  releaseEndedHolds(notes, now_us);
  for (int i = 0; i < notes.getCount(); ++i) {
    const Note *p_note = dynamic_cast<const Note *>(notes[i]);
    int64_t press_us = now_us;
    if (!p_note || p_note->isHit() || m_pressed.count(p_note->getSerial())) continue;
    if (!isDue(*p_note, now_us, press_us)) continue;
    m_pressed.insert(p_note->getSerial());
    ++m_press_count;
    const int step = ts::GameManager::getInstance().getStepCount();
    pressKey(keyOfDirection(p_note->getDirection()), press_us);
    if (p_note->isHolding()) m_held[p_note->getSerial()] = keyOfDirection(p_note->getDirection());
    NoteSpawner *p_spawner = spawner();
    if (p_spawner && m_press_count == p_spawner->countChartNotes() - p_spawner->countHolds()) reportTiming(step);
  }
}

// A hold's key is let go once the hold has ended (its tail judged).
void DemoPlayer::releaseEndedHolds(const ts::ObjectList &notes, int64_t now_us) {
  for (auto held = m_held.begin(); held != m_held.end();) {
    bool holding = false;
    for (int i = 0; i < notes.getCount(); ++i) {
      const Note *p_note = dynamic_cast<const Note *>(notes[i]);
      holding = holding || (p_note && p_note->getSerial() == held->first && p_note->isHolding());
    }
    if (holding) {
      ++held;
      continue;
    }
    pressKey(held->second, now_us, ts::KEY_RELEASED);
    held = m_held.erase(held);
  }
}

// Classic: as soon as the note is on a judged row (falling one row per frame
// it is first seen on the first "Perfect!" row; a note that skipped rows
// while the note clock caught up may first be seen lower). Fair: once the
// moment it is shown on its receptor has come, pressed at that moment.
bool DemoPlayer::isDue(const Note &note, int64_t now_us, int64_t &press_us) const {
  if (m_rules == Rules::CLASSIC) return hit_zone::isJudgedRow(note.getPosition().getY());
  const NoteSpawner *p_spawner = spawner();
  if (!p_spawner) return false;
  press_us = p_spawner->pressTimeOnBeat(note);
  return press_us <= now_us;
}

// The track's position read the moment it moves on: a reading lags the sound
// by up to one of the audio device's mixing periods, but not one taken just
// as the device hands over the next period. Waits for that at most a few
// periods (once, at the demo's last note); the time of the reading with it.
std::pair<double, int64_t> DemoPlayer::freshTrackReading(const ts::Music &track) {
  const float first = track.getPlayingOffset();
  const int64_t give_up_us = ts::monotonicMicroseconds() + FRESH_READING_WAIT_US;
  for (;;) {
    const float now = track.getPlayingOffset();
    const int64_t now_us = ts::monotonicMicroseconds();
    if (now != first || now_us >= give_up_us || !track.isPlaying()) return {now * 1000.0, now_us};
  }
}

// How far the music has drifted from the note clock by the last note: the
// track's position, read as it moves on, against the one the note clock
// stands for at that moment (its position, fractions of a step included,
// plus the audio offset it keeps behind, less the display's lag it keeps
// ahead when it follows the music). The smoothed position the clock follows
// (see NoteClock) is logged beside it.
void DemoPlayer::reportTiming(int step) const {
  NoteSpawner *p_spawner = spawner();
  const ts::Music *p_track = p_spawner ? p_spawner->getTrack() : nullptr;
  if (!p_track) return;
  p_spawner->stepsAt(step);
  const NoteClock &clock = p_spawner->getNoteClock();
  const auto [music_ms, read_us] = freshTrackReading(*p_track);
  const double lead_ms = clock.getPace() == NoteClock::Pace::FOLLOW_MUSIC ? p_spawner->getDisplayLagMs() : 0.0;
  const double clock_steps = clock.getPace() == NoteClock::Pace::FOLLOW_MUSIC
                                 ? clock.positionAt(static_cast<double>(read_us) / 1000.0)
                                 : clock.getPosition();
  const double note_clock_ms = clock_steps * clock.getStepMs() - lead_ms + clock.getOffsetMs();
  const int frame_clock_ms = (step - m_start_step) * ts::GameManager::getInstance().getFrameTime();
  const int wall_ms = static_cast<int>((read_us - m_start_us) / 1000);
  ts::LogManager::getInstance().writeLog(
      "Demo: last note at step %d: music at %.0f ms, note clock at %.0f ms, drift %.0f ms "
      "(smoothed music %.0f ms, frame clock %d ms, wall clock %d ms, display lag %.1f ms; %d of %d frames took one "
      "step, %d took none, %d catch-up steps)",
      step - m_start_step, music_ms, note_clock_ms, music_ms - note_clock_ms, clock.getTrackEstimateMs(),
      frame_clock_ms, wall_ms, p_spawner->getDisplayLagMs(), clock.getSingleStepFrames(), clock.getFrames(),
      clock.getHeldFrames(), clock.getCatchUpSteps());
}
