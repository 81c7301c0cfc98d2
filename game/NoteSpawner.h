// Turns a track's chart into falling notes: one note, in a random lane, on
// each step the chart lists. It also notices the end of the song and then
// brings up the game-over screen.
#ifndef RHYTHM_NOTE_SPAWNER_H
#define RHYTHM_NOTE_SPAWNER_H

#include <cstdint>
#include <vector>

#include <tessera/world/Object.h>

namespace ts {
class Music;
}

class NoteSpawner : public ts::Object {
 public:
  // The track (owned by the resource manager) is watched to know when the
  // song is over; null when there is no playable track.
  explicit NoteSpawner(std::vector<int32_t> chart, const ts::Music *p_track = nullptr);
  ~NoteSpawner() override;

  int eventHandler(const ts::Event *p_event) override;
  // Creates one note at the top of a random lane.
  void spawnNote();

  int32_t getStepCount() const { return m_step_count; }
  const std::vector<int32_t> &getChart() const { return m_chart; }
  bool hasEndedSong() const { return m_song_ended; }

 private:
  void spawnDueNotes();
  bool songIsOver() const;
  void endSong();

  int32_t m_step_count;
  std::vector<int32_t> m_chart;
  const ts::Music *m_p_track;
  int32_t m_last_entry;  // the highest chart entry: no note comes after it
  bool m_song_ended;
};

#endif
