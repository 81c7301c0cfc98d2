#include "play/NoteSpawner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <set>

#include <tessera/audio/Music.h>
#include <tessera/core/EventStep.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/system/Clock.h>
#include <tessera/world/WorldManager.h>
#include "play/Beat.h"
#include "play/FirstOfType.h"
#include "play/Lane.h"
#include "play/Note.h"
#include "play/ScoreManager.h"
#include "screens/GameOver.h"
#include "screens/ResultsScreen.h"
#include "songs/Chart.h"

namespace {

// Not a lane: the chart does not list the step.
const int NO_ENTRY = -2;

}  // namespace

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
  std::set<int32_t> steps;
  for (int32_t entry : m_chart)
    if (entry > 0) steps.insert(entry);
  m_note_count = static_cast<int>(steps.size());
  registerInterest(ts::STEP_EVENT);
}

NoteSpawner::~NoteSpawner() {}

int NoteSpawner::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  const ts::EventStep *p_step = dynamic_cast<const ts::EventStep *>(p_event);
  const int steps = p_step ? stepsAt(p_step->getStepCount()) : 1;
  for (int step = 1; step <= steps; ++step) {
    ++m_step_count;
    // The counter has one value per step, so however often the chart lists
    // it, it gives one note.
    const int lane = laneOfEntry(m_step_count);
    if (lane == NO_ENTRY) continue;
    // The notes already falling take this event's steps after this handler;
    // one spawned on an earlier step of a catch-up falls the rest itself.
    Note *p_note = createNote(lane);
    if (steps > step) p_note->fall(steps - step);
  }
  if (!m_song_ended && !m_paused && songIsOver()) endSong();
  return 1;
}

// The lane of the chart's first entry for a step (Chart::RANDOM_LANE when
// the chart leaves it to chance), or NO_ENTRY.
int NoteSpawner::laneOfEntry(int32_t entry) const {
  auto found = std::find(m_chart.begin(), m_chart.end(), entry);
  if (found == m_chart.end()) return NO_ENTRY;
  return m_lanes.empty() ? Chart::RANDOM_LANE : m_lanes[static_cast<size_t>(found - m_chart.begin())];
}

bool NoteSpawner::pause() {
  if (m_paused || m_song_ended) return false;
  m_paused = true;
  if (m_p_track) m_p_track->pause();
  ts::LogManager::getInstance().writeLog("NoteSpawner: song paused at step %d.", m_step_count);
  return true;
}

bool NoteSpawner::resume() {
  if (!m_paused) return false;
  m_paused = false;
  m_clock.restartReadings();
  if (m_p_track) m_p_track->resume();
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

int64_t NoteSpawner::pressTimeOnBeat(const Note &note) const {
  const double press_ms = m_clock.clockAtPosition(note.getBeatStep()) + m_display_lag.getLagMs();
  return static_cast<int64_t>(std::llround(press_ms * 1000.0));
}

std::optional<NoteClock::TrackReading> NoteSpawner::readTrack() const { return NoteClock::read(m_p_track); }

int64_t NoteSpawner::presentTimeOf(int game_step) const {
  return ts::DisplayManager::getInstance().getPresentTime(game_step);
}

void NoteSpawner::spawnNote() { createNote(Chart::RANDOM_LANE); }

Note *NoteSpawner::createNote(int chart_lane) {
  const int lane = chart_lane >= 0 && chart_lane < Lane::COUNT ? chart_lane : rand() % Lane::COUNT;
  const float width = ts::WorldManager::getInstance().getBoundary().getHorizontal();
  const float x = width * 0.25f * LANES[lane].centre_quarters;
  const ts::Vector position(x, 0);
  Note *p_note = new Note(LANES[lane].direction, 1.0f, position);
  p_note->setChartStep(m_step_count);
  ts::LogManager::getInstance().writeLog("Note spawned in lane %d with direction %s at (%.1f, %.1f)", lane,
                                         LANES[lane].direction, position.getX(), position.getY());
  return p_note;
}

// Over when every chart note has been spawned and hit or missed, and the
// track has finished playing (or there is none).
bool NoteSpawner::songIsOver() const {
  if (m_step_count < m_last_entry) return false;
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
