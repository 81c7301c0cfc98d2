#include "NoteSpawner.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include <tessera/audio/Music.h>
#include <tessera/core/EventStep.h>
#include <tessera/core/LogManager.h>
#include <tessera/world/WorldManager.h>
#include "Charts.h"
#include "GameOver.h"
#include "Note.h"
#include "ScoreManager.h"

namespace {

struct Lane {
  const char *direction;
  float centre_factor;  // of the world's width
};

const Lane LANES[4] = {{"left", 0.5f}, {"up", 1.5f}, {"down", 2.5f}, {"right", 3.5f}};

template <typename T>
T *firstOfType(const char *type) {
  ts::ObjectList list = ts::WorldManager::getInstance().objectsOfType(type);
  return list.isEmpty() ? nullptr : dynamic_cast<T *>(list[0]);
}

}  // namespace

NoteSpawner::NoteSpawner(std::vector<int32_t> chart, const ts::Music *p_track, int offset_ms)
    : m_step_count(0),
      m_chart(std::move(chart)),
      m_p_track(p_track),
      m_last_entry(0),
      m_song_ended(false),
      m_clock(charts::FRAME_MILLISECONDS, offset_ms),
      m_reckoned_step(-1),
      m_steps_reckoned(0) {
  setType("NoteSpawner");
  for (int32_t entry : m_chart) m_last_entry = std::max(m_last_entry, entry);
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
    if (std::find(m_chart.begin(), m_chart.end(), m_step_count) == m_chart.end()) continue;
    // The notes already falling take this event's steps after this handler;
    // one spawned on an earlier step of a catch-up falls the rest itself.
    Note *p_note = createNote();
    if (steps > step) p_note->fall(steps - step);
  }
  if (!m_song_ended && songIsOver()) endSong();
  return 1;
}

int NoteSpawner::stepsAt(int game_step) {
  if (game_step == m_reckoned_step) return m_steps_reckoned;
  m_reckoned_step = game_step;
  m_steps_reckoned = m_clock.advance(readTrack());
  return m_steps_reckoned;
}

std::optional<NoteClock::TrackReading> NoteSpawner::readTrack() const { return NoteClock::read(m_p_track); }

void NoteSpawner::spawnNote() { createNote(); }

Note *NoteSpawner::createNote() {
  const int lane = rand() % 4;
  const float width = ts::WorldManager::getInstance().getBoundary().getHorizontal();
  const float x = width * 0.25f * LANES[lane].centre_factor;
  const ts::Vector position(x, 0);
  Note *p_note = new Note(LANES[lane].direction, 1.0f, position);
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
}
