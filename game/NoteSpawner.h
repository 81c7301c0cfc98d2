// Turns a track's chart into falling notes: one note, in a random lane, on
// each step the chart lists. Its steps are those of the note clock, which
// follows the track (see NoteClock); the notes fall by the same clock. It
// also notices the end of the song and then brings up the game-over screen.
#ifndef RHYTHM_NOTE_SPAWNER_H
#define RHYTHM_NOTE_SPAWNER_H

#include <cstdint>
#include <optional>
#include <vector>

#include <tessera/world/Object.h>

#include "NoteClock.h"

namespace ts {
class Music;
}
class Note;

class NoteSpawner : public ts::Object {
 public:
  // The track (owned by the resource manager) sets the pace of the note
  // clock and is watched to know when the song is over; null when there is
  // no playable track. offset_ms: how much later the player hears the music.
  explicit NoteSpawner(std::vector<int32_t> chart, const ts::Music *p_track = nullptr, int offset_ms = 0);
  ~NoteSpawner() override;

  int eventHandler(const ts::Event *p_event) override;
  // Creates one note at the top of a random lane.
  void spawnNote();
  // The steps the note clock takes in the given game step (0 while an
  // offset holds it back, more than 1 while it catches up with the track).
  // Reckoned at the first call in a step, from where the track is then;
  // later calls in the same step give the same answer.
  int stepsAt(int game_step);
  const NoteClock &getNoteClock() const { return m_clock; }

  int32_t getStepCount() const { return m_step_count; }
  const std::vector<int32_t> &getChart() const { return m_chart; }
  bool hasEndedSong() const { return m_song_ended; }

 protected:
  // Where the track is now, for the note clock; nothing when none plays.
  virtual std::optional<NoteClock::TrackReading> readTrack() const;

 private:
  Note *createNote();
  bool songIsOver() const;
  void endSong();

  int32_t m_step_count;  // note clock steps taken
  std::vector<int32_t> m_chart;
  const ts::Music *m_p_track;
  int32_t m_last_entry;  // the highest chart entry: no note comes after it
  bool m_song_ended;
  NoteClock m_clock;
  int m_reckoned_step;  // the game step of m_steps_reckoned, -1 before the first
  int m_steps_reckoned;
};

#endif
