#include "screens/Calibration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <tessera/audio/AudioDevice.h>
#include <tessera/audio/Music.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/WorldManager.h>

#include "play/Beat.h"
#include "player/GameSettings.h"
#include "screens/GameStart.h"
#include "songs/ClickTrack.h"

namespace {

const float CENTRE_X = 40.0f;

void drawLine(float row, const std::string &text, ts::Color color = ts::WHITE) {
  ts::DisplayManager::getInstance().drawString(ts::Vector(CENTRE_X, row), text, ts::CENTER_JUSTIFIED, color);
}

}  // namespace

Calibration::Calibration(std::string settings_path, Rules rules)
    : m_settings_path(std::move(settings_path)),
      m_p_track(nullptr),
      m_clock(beat::STEP_MILLISECONDS, 0,
              rules == Rules::FAIR ? NoteClock::Pace::FOLLOW_MUSIC : NoteClock::Pace::AT_LEAST_ONE_STEP),
      m_state(NEEDS_SOUND) {
  setType("Calibration");
  setAltitude(3);
  registerInterest(ts::STEP_EVENT);
  registerInterest(ts::KEYBOARD_EVENT);
  ts::LogManager &log = ts::LogManager::getInstance();
  if (!ts::AudioDevice::isAvailable()) {
    m_result = "Calibration needs sound, and no audio device was found.";
    log.writeLog("Calibration: no audio device; calibration needs sound.");
    return;
  }
  m_p_track = ts::ResourceManager::getInstance().getMusic(click_track::LABEL);
  if (!m_p_track) {
    m_result = "Calibration needs sound: its click track is missing.";
    log.writeLog("Calibration: no click track; calibration needs sound.");
    return;
  }
  m_p_track->play(false);
  m_state = LISTENING;
  log.writeLog("Calibration: click track started.");
}

Calibration::~Calibration() {
  if (m_state == LISTENING) m_p_track->stop();
}

int Calibration::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::STEP_EVENT) {
    step();
    return 1;
  }
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
  if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 1;
  if (p_keyboard->getKey() == ts::Keyboard::ESCAPE) leave();
  if (p_keyboard->getKey() == ts::Keyboard::SPACE) tap(p_keyboard->getTime());
  return 1;
}

// The clock runs on the click track exactly as the notes' clock runs on a
// game track, so a tap is timed as a key press in play would be judged: by
// the step the clock is on when the frame handles it (classic), or by the
// track's position at the moment of the press (fair).
void Calibration::step() {
  if (m_state != LISTENING) return;
  const std::optional<NoteClock::TrackReading> reading = readTrack();
  m_clock.advance(reading);
  const double last_click_ms = click_track::tappedClicksMs().back();
  if (!reading || m_clock.getSteps() * beat::STEP_MILLISECONDS > last_click_ms + MAX_TAP_DISTANCE_MS) finish();
}

std::optional<NoteClock::TrackReading> Calibration::readTrack() const { return NoteClock::read(m_p_track); }

void Calibration::tap(int64_t time_us) {
  if (m_state != LISTENING) return;
  const double step_ms = beat::STEP_MILLISECONDS;
  if (m_clock.getPace() == NoteClock::Pace::FOLLOW_MUSIC)
    m_taps_ms.push_back(m_clock.positionAt(static_cast<double>(time_us) / 1000.0) * step_ms);
  else
    m_taps_ms.push_back(m_clock.getSteps() * step_ms);
}

void Calibration::finish() {
  m_state = FINISHED;
  m_p_track->stop();
  ts::LogManager &log = ts::LogManager::getInstance();
  m_offset_ms = offsetFromTaps(m_taps_ms, click_track::tappedClicksMs());
  if (!m_offset_ms) {
    m_result = "Too few taps near the clicks; nothing was saved.";
    log.writeLog("Calibration: too few of %d taps near the clicks; nothing saved.", static_cast<int>(m_taps_ms.size()));
    return;
  }
  log.writeLog("Calibration: audio offset %d ms from %d taps.", *m_offset_ms, static_cast<int>(m_taps_ms.size()));
  // The other settings in the file (the rules) are written back as they were.
  GameSettings settings;
  settings.load(m_settings_path);
  settings.setOffsetMs(*m_offset_ms);
  const bool saved = settings.save(m_settings_path) == 0;
  char text[80];
  std::snprintf(text, sizeof text, "Your audio offset: %+d ms%s", *m_offset_ms,
                saved ? ", saved." : " (it could not be saved; see the log).");
  m_result = text;
}

void Calibration::leave() {
  if (m_state == LISTENING) {
    m_p_track->stop();
    ts::LogManager::getInstance().writeLog("Calibration: left before the end; nothing saved.");
  }
  m_state = FINISHED;
  ts::ObjectList starts = ts::WorldManager::getInstance().objectsOfType("GameStart");
  GameStart *p_start = starts.isEmpty() ? nullptr : dynamic_cast<GameStart *>(starts[0]);
  if (p_start) p_start->endCalibration(m_offset_ms);
  ts::WorldManager::getInstance().markForDelete(this);
}

int Calibration::draw() {
  drawLine(4, "Calibration", ts::YELLOW);
  if (m_state == LISTENING) {
    drawLine(8, "After four soft clicks, tap Space on each of the 16 bright clicks.");
    drawLine(10, "Taps: " + std::to_string(m_taps_ms.size()));
  }
  drawLine(12, m_result, m_offset_ms ? ts::GREEN : ts::WHITE);
  drawLine(20, "Escape: back to the start screen");
  return 0;
}

std::optional<int> Calibration::offsetFromTaps(const std::vector<double> &taps_ms, const std::vector<double> &clicks_ms,
                                               int min_taps) {
  if (clicks_ms.empty()) return std::nullopt;
  std::vector<double> differences;
  for (double tap : taps_ms) {
    double nearest = tap - clicks_ms.front();
    for (double click : clicks_ms)
      if (std::fabs(tap - click) < std::fabs(nearest)) nearest = tap - click;
    if (std::fabs(nearest) <= MAX_TAP_DISTANCE_MS) differences.push_back(nearest);
  }
  if (differences.empty() || static_cast<int>(differences.size()) < min_taps) return std::nullopt;
  std::sort(differences.begin(), differences.end());
  const size_t middle = differences.size() / 2;
  const double median =
      differences.size() % 2 ? differences[middle] : (differences[middle - 1] + differences[middle]) / 2.0;
  return static_cast<int>(std::lround(median));
}
