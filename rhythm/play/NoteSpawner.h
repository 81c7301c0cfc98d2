// Turns a track's chart into falling notes: one note on each step the chart
// lists, in the lane the chart gives it or else in a random one. Its steps
// are those of the note clock, which follows the track (see NoteClock); the
// notes fall by the same clock, and stand still while the song is paused.
// Following the music, it places the notes the display's lag ahead of it,
// so that each picture shows where the music is when the picture is on
// screen; a timed press is judged against the picture on screen at its
// time, which then is the music's own beat. It also notices the end of the song and then
// brings up the game-over screen with the results.
//
// A chart may list a step once per lane: the notes of a chord all fall
// together. Notes fall at the scroll speed (rows per step), spawned as much
// earlier or later as it takes to reach the receptor on their beat. A
// lead-in holds the music back: the note clock starts that far before the
// music's start and follows the loop's clock until it starts the music.
#ifndef RHYTHM_NOTE_SPAWNER_H
#define RHYTHM_NOTE_SPAWNER_H

#include <cstdint>
#include <optional>
#include <vector>

#include <tessera/world/Object.h>

#include "play/DisplayLag.h"
#include "play/NoteClock.h"

namespace ts {
class Music;
}
class Note;

class NoteSpawner : public ts::Object {
 public:
  // The track (owned by the resource manager) sets the pace of the note
  // clock, is watched to know when the song is over and is paused with it; null when there is
  // no playable track. offset_ms: how much later the player hears the music.
  // lanes: one per chart entry, 0 to 3, or -1 (or none at all) for a random
  // lane. pace: how the note clock keeps to the track.
  explicit NoteSpawner(std::vector<int32_t> chart, ts::Music *p_track = nullptr, int offset_ms = 0,
                       std::vector<int> lanes = {}, NoteClock::Pace pace = NoteClock::Pace::AT_LEAST_ONE_STEP);
  ~NoteSpawner() override;

  int eventHandler(const ts::Event *p_event) override;
  // Creates one note at the top of a random lane.
  void spawnNote();
  // Holds the song where it is: the track pauses, the note clock and the
  // notes stop. False when there is nothing to hold (already paused, or the
  // song is over).
  bool pause();
  // Plays on from where the song was held. False when it was not paused.
  bool resume();
  bool isPaused() const { return m_paused; }
  // The judgements the chart makes: a note for each step it lists (each lane
  // of a step once, a step without lanes once), and a second for each hold's
  // tail.
  int countChartNotes() const { return m_note_count + m_hold_count; }
  // The holds among them.
  int countHolds() const { return m_hold_count; }
  // One length in steps per chart entry (0: a plain note); none, or a list
  // of another size, makes every note plain. Before the first step.
  void setHolds(std::vector<int32_t> holds);
  // Rows per step the notes fall, from MIN_SCROLL_SPEED to
  // MAX_SCROLL_SPEED (clamped). Before the first step.
  void setScrollSpeed(double rows_per_step);
  static constexpr double MIN_SCROLL_SPEED = 0.5;
  static constexpr double MAX_SCROLL_SPEED = 2.0;
  // Holds the track back for lead_in_ms, the notes with it: the note clock
  // starts that far before the music (see NoteClock::startLeadIn) and the
  // spawner starts the (not yet playing) track when the clock reaches its
  // start. Before the first step; ignored when the clock does not follow
  // the music.
  void startLeadIn(double lead_in_ms);
  // Under the fair rules the first note reaches its receptor no sooner than
  // this long after the song starts.
  static constexpr double FIRST_BEAT_AFTER_MS = 2000.0;
  // The lead-in a chart needs for that: 0 when its first beat is late enough.
  static double leadInMs(const std::vector<int32_t> &chart);
  // Whether the track is still held back by the lead-in.
  bool isLeadingIn() const { return m_clock.isLeadingIn(); }
  // The steps the note clock takes in the given game step (0 while an
  // offset holds it back, more than 1 while it catches up with the track).
  // Reckoned at the first call in a step, from where the track is then;
  // later calls in the same step give the same answer.
  int stepsAt(int game_step);
  const NoteClock &getNoteClock() const { return m_clock; }
  // How far a press at this time on the monotonic clock (microseconds) was
  // from the moment the note was shown on its beat, in milliseconds,
  // negative when early.
  double offsetOfPress(int64_t press_us, const Note &note) const;
  // The time a press would have to come at to be exactly on the note's beat.
  int64_t pressTimeOnBeat(const Note &note) const;
  // The display's lag behind the note clock (see DisplayLag).
  double getDisplayLagMs() const { return m_display_lag.getLagMs(); }
  // How many steps the notes are placed ahead of the picture on screen:
  // the display's lag when following the music, else none.
  double getShownLagSteps() const;

  int32_t getStepCount() const { return m_step_count; }
  const std::vector<int32_t> &getChart() const { return m_chart; }
  bool hasEndedSong() const { return m_song_ended; }
  // The track the notes follow (owned by the resource manager), or null.
  const ts::Music *getTrack() const { return m_p_track; }

 protected:
  // Where the track is now, for the note clock; nothing when none plays.
  virtual std::optional<NoteClock::TrackReading> readTrack() const;
  // When the picture of a game step went on screen (microseconds on the
  // monotonic clock), or -1 while that is not known: the display's record.
  virtual int64_t presentTimeOf(int game_step) const;

 private:
  Note *createNote(int lane, float row = 0.0f);
  void spawnEntriesOf(int32_t entry, int steps_left);
  int32_t spawnLead() const;
  void startMusicWhenDue();
  bool songIsOver() const;
  void endSong();
  void measureDisplayLag(int game_step, int64_t now_us);

  int32_t m_step_count;  // note clock steps taken
  std::vector<int32_t> m_chart;
  int m_note_count;          // distinct steps above 0: the notes the chart makes
  std::vector<int> m_lanes;  // as many as chart entries, or none
  std::vector<int32_t> m_holds;  // as many as chart entries, or none
  int m_hold_count = 0;
  double m_scroll_speed = 1.0;
  ts::Music *m_p_track;
  int32_t m_last_entry;  // the highest chart entry: no note comes after it
  bool m_song_ended;
  bool m_paused;
  NoteClock m_clock;
  DisplayLag m_display_lag;
  int m_reckoned_step;  // the game step of m_steps_reckoned, -1 before the first
  int m_steps_reckoned;
};

#endif
