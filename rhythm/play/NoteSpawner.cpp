#include "play/NoteSpawner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <set>
#include <utility>

#include <tessera/audio/Music.h>
#include <tessera/core/EventStep.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/system/Clock.h>
#include <tessera/world/WorldManager.h>
#include "play/Beat.h"
#include "play/FirstOfType.h"
#include "play/HitZone.h"
#include "play/Lane.h"
#include "play/Note.h"
#include "play/ScoreManager.h"
#include "screens/GameOver.h"
#include "screens/ResultsScreen.h"
#include "songs/Chart.h"

NoteSpawner::NoteSpawner(std::vector<int32_t> chart, ts::Music *p_track, int offset_ms, std::vector<int> lanes,
                         NoteClock::Pace pace)
    : m_step_count(0),
      m_chart(std::move(chart)),
      m_note_count(0),
      m_lanes(std::move(lanes)),
      m_p_track(p_track),
      m_last_entry(0),
      m_song_ended(false),
      m_paused(false),
      m_clock(beat::STEP_MILLISECONDS, offset_ms, pace),
      m_display_lag(beat::STEP_MILLISECONDS),
      m_reckoned_step(-1),
      m_steps_reckoned(0) {
  setType("NoteSpawner");
  if (m_lanes.size() != m_chart.size()) m_lanes.clear();
  for (int32_t entry : m_chart) m_last_entry = std::max(m_last_entry, entry);
  // A step without lanes makes one note however often it is listed.
  std::set<std::pair<int32_t, int>> notes;
  for (size_t i = 0; i < m_chart.size(); ++i)
    if (m_chart[i] > 0) notes.insert({m_chart[i], m_lanes.empty() ? Chart::RANDOM_LANE : m_lanes[i]});
  m_note_count = static_cast<int>(notes.size());
  registerInterest(ts::STEP_EVENT);
}

NoteSpawner::~NoteSpawner() {}

int NoteSpawner::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  const ts::EventStep *p_step = dynamic_cast<const ts::EventStep *>(p_event);
  const int steps = p_step ? stepsAt(p_step->getStepCount()) : 1;
  for (int step = 1; step <= steps; ++step) {
    ++m_step_count;
    // The notes already falling take this event's steps after this handler;
    // one spawned on an earlier step of a catch-up falls the rest itself.
    spawnEntriesOf(m_step_count + spawnLead(), steps - step);
  }
  if (!m_song_ended && !m_paused && songIsOver()) endSong();
  return 1;
}

// How many steps before its entry a note is spawned to reach its receptor on
// its beat at the scroll speed (negative: after); it starts just above the
// row it would be on.
int32_t NoteSpawner::spawnLead() const {
  return static_cast<int32_t>(std::ceil(hit_zone::PERFECT_MIDDLE / m_scroll_speed - hit_zone::PERFECT_MIDDLE - 1e-9));
}

// One note for each lane the chart gives the entry (however often it lists
// it there), or one in a random lane.
void NoteSpawner::spawnEntriesOf(int32_t entry, int steps_left) {
  if (entry <= 0) return;
  std::set<int> lanes;
  for (size_t i = 0; i < m_chart.size(); ++i) {
    if (m_chart[i] != entry) continue;
    const int lane = m_lanes.empty() ? Chart::RANDOM_LANE : m_lanes[i];
    if (!lanes.insert(lane).second) continue;
    const double beat_step = entry + hit_zone::PERFECT_MIDDLE;
    Note *p_note =
        createNote(lane, static_cast<float>(hit_zone::PERFECT_MIDDLE - m_scroll_speed * (beat_step - m_step_count)));
    p_note->setBeatStep(beat_step);
    if (!m_holds.empty()) p_note->setHoldSteps(m_holds[i]);
    if (steps_left > 0) p_note->fall(steps_left);
  }
}

void NoteSpawner::setHolds(std::vector<int32_t> holds) {
  m_holds = std::move(holds);
  if (m_holds.size() != m_chart.size()) m_holds.clear();
  m_hold_count = 0;
  for (size_t i = 0; i < m_holds.size(); ++i)
    if (m_holds[i] > 0 && m_chart[i] > 0) ++m_hold_count;
}

void NoteSpawner::setScrollSpeed(double rows_per_step) {
  m_scroll_speed = std::clamp(std::isfinite(rows_per_step) ? rows_per_step : 1.0, MIN_SCROLL_SPEED, MAX_SCROLL_SPEED);
}

double NoteSpawner::leadInMs(const std::vector<int32_t> &chart) {
  int32_t first = 0;
  for (int32_t entry : chart)
    if (entry > 0 && (first == 0 || entry < first)) first = entry;
  if (first == 0) return 0.0;
  return std::max(0.0, FIRST_BEAT_AFTER_MS - beat::secondsOf(first) * 1000.0);
}

void NoteSpawner::startLeadIn(double lead_in_ms) {
  if (lead_in_ms <= 0 || m_clock.getPace() != NoteClock::Pace::FOLLOW_MUSIC) return;
  m_clock.startLeadIn(lead_in_ms, static_cast<double>(ts::monotonicMicroseconds()) / 1000.0);
  m_step_count = m_clock.getSteps();
  ts::LogManager::getInstance().writeLog("NoteSpawner: lead-in of %.0f ms before the music.", lead_in_ms);
}

// The lead-in is over when the note clock reaches the music's start.
void NoteSpawner::startMusicWhenDue() {
  if (!m_clock.isMusicDue()) return;
  m_clock.endLeadIn();
  if (m_p_track) m_p_track->play(false);
  ts::LogManager::getInstance().writeLog("NoteSpawner: the music starts at step %d.", m_step_count);
}

bool NoteSpawner::pause() {
  if (m_paused || m_song_ended) return false;
  m_paused = true;
  if (m_p_track && !m_clock.isLeadingIn()) m_p_track->pause();
  ts::LogManager::getInstance().writeLog("NoteSpawner: song paused at step %d.", m_step_count);
  return true;
}

bool NoteSpawner::resume() {
  if (!m_paused) return false;
  m_paused = false;
  m_clock.restartReadings(static_cast<double>(ts::monotonicMicroseconds()) / 1000.0);
  if (m_p_track && !m_clock.isLeadingIn()) m_p_track->resume();
  ts::LogManager::getInstance().writeLog("NoteSpawner: song resumed at step %d.", m_step_count);
  return true;
}

int NoteSpawner::stepsAt(int game_step) {
  // Held: the clock stands, and so does every note that asks it.
  if (m_paused) return 0;
  if (game_step == m_reckoned_step) return m_steps_reckoned;
  m_reckoned_step = game_step;
  // Everything on the reading's clock when there is one.
  const std::optional<NoteClock::TrackReading> reading = readTrack();
  const double now_ms = reading ? reading->clock_ms : static_cast<double>(ts::monotonicMicroseconds()) / 1000.0;
  m_clock.setLeadMs(m_display_lag.getLagMs());
  m_steps_reckoned = m_clock.advance(reading, now_ms);
  startMusicWhenDue();
  measureDisplayLag(game_step, static_cast<int64_t>(std::llround(now_ms * 1000.0)));
  return m_steps_reckoned;
}

// The notes take their rows for this step's picture now; the pictures of
// earlier steps may have gone on screen since.
void NoteSpawner::measureDisplayLag(int game_step, int64_t now_us) {
  for (int step : m_display_lag.unshownSteps()) m_display_lag.shown(step, presentTimeOf(step));
  m_display_lag.placed(game_step, now_us);
}

double NoteSpawner::offsetOfPress(int64_t press_us, const Note &note) const {
  // The picture on screen at the press was placed the display's lag before.
  const double seen_ms = static_cast<double>(press_us) / 1000.0 - m_display_lag.getLagMs();
  return (m_clock.positionAt(seen_ms) - note.getBeatStep()) * m_clock.getStepMs();
}

double NoteSpawner::getShownLagSteps() const {
  if (m_clock.getPace() != NoteClock::Pace::FOLLOW_MUSIC || m_clock.getStepMs() <= 0) return 0.0;
  return m_display_lag.getLagMs() / m_clock.getStepMs();
}

int64_t NoteSpawner::pressTimeOnBeat(const Note &note) const {
  const double press_ms = m_clock.clockAtPosition(note.getBeatStep()) + m_display_lag.getLagMs();
  return static_cast<int64_t>(std::llround(press_ms * 1000.0));
}

std::optional<NoteClock::TrackReading> NoteSpawner::readTrack() const { return NoteClock::read(m_p_track); }

int64_t NoteSpawner::presentTimeOf(int game_step) const {
  return ts::DisplayManager::getInstance().getPresentTime(game_step);
}

void NoteSpawner::spawnNote() { createNote(Chart::RANDOM_LANE); }

Note *NoteSpawner::createNote(int chart_lane, float row) {
  const int lane = chart_lane >= 0 && chart_lane < Lane::COUNT ? chart_lane : rand() % Lane::COUNT;
  const float width = ts::WorldManager::getInstance().getBoundary().getHorizontal();
  const float x = width * 0.25f * LANES[lane].centre_quarters;
  const ts::Vector position(x, row);
  Note *p_note = new Note(LANES[lane].direction, static_cast<float>(m_scroll_speed), position);
  p_note->setChartStep(m_step_count);
  ts::LogManager::getInstance().writeLog("Note spawned in lane %d with direction %s at (%.1f, %.1f)", lane,
                                         LANES[lane].direction, position.getX(), position.getY());
  return p_note;
}

// Over when every chart note has been spawned and hit or missed, and the
// track has finished playing (or there is none).
bool NoteSpawner::songIsOver() const {
  if (m_step_count < m_last_entry - spawnLead() || m_clock.isLeadingIn()) return false;
  if (!ts::WorldManager::getInstance().objectsOfType("Note").isEmpty()) return false;
  return !m_p_track || !m_p_track->isPlaying();
}

void NoteSpawner::endSong() {
  m_song_ended = true;
  ts::LogManager::getInstance().writeLog("No BGM playing. Triggering GameOver.");
  ScoreManager *p_score = firstOfType<ScoreManager>("ScoreManager");
  if (p_score) p_score->logScore();
  if (ts::WorldManager::getInstance().objectsOfType("GameOver").isEmpty()) new GameOver();
  ResultsScreen *p_results = firstOfType<ResultsScreen>("ResultsScreen");
  if (p_results && p_score) p_results->show(p_score->results(countChartNotes()));
}
