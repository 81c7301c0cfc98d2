// A song's chart as written in a chart file (see docs/charts.md): its title,
// its music file, for the game's own songs the label their music is loaded
// under and the play length the log announces, its difficulty and where its
// preview starts, and its notes: each a step, a lane (or left to chance) and,
// for a hold, a length in steps. Notes of one step in different lanes make a
// chord. Reading never fails loudly: a chart that cannot be used says why in
// getError(), naming the line, and holds nothing else; one that plays but is
// hard to read (notes of a lane closer than an arrow is tall) says so in
// getWarnings().
#ifndef RHYTHM_CHART_H
#define RHYTHM_CHART_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Chart {
 public:
  // What a chart may hold. A file beyond the size is not read at all, so a
  // stray file of megabytes costs nothing.
  static constexpr size_t MAX_FILE_BYTES = 256 * 1024;
  static constexpr size_t MAX_NOTES = 10000;
  static constexpr int32_t MAX_STEP = 1000000;  // more than nine hours of 33 ms steps
  static constexpr size_t MAX_TITLE_LENGTH = 40;  // characters, not bytes
  static constexpr size_t MAX_DIFFICULTY_LENGTH = 20;
  // A hold spans at least an arrow's height, so that its column shows, and
  // at most 100 seconds.
  static constexpr int32_t MIN_HOLD_STEPS = 3;
  static constexpr int32_t MAX_HOLD_STEPS = 3000;
  // Notes of one lane closer than this (the arrow's height in rows, at one
  // row per step) overlap on screen: the chart plays, with a warning.
  static constexpr int32_t READABLE_GAP_STEPS = 3;
  // Warnings kept per chart; the rest are counted in the last one.
  static constexpr size_t MAX_WARNINGS = 5;
  static constexpr size_t MAX_MUSIC_LENGTH = 1024;
  static constexpr int32_t MAX_SECONDS = 36000;
  // The lane of a note whose chart names none: drawn at random when it falls.
  static constexpr int RANDOM_LANE = -1;

  // Reads a chart from its text.
  static Chart parse(const std::string &text);
  // Reads a chart file; one that is missing, not a plain file or too large
  // is refused unread.
  static Chart readFile(const std::string &path);
  // The lane of a direction ("left", "up", "down", "right": 0 to 3), or
  // RANDOM_LANE for anything else.
  static int laneOf(const std::string &direction);

  bool isValid() const { return m_error.empty(); }
  const std::string &getError() const { return m_error; }
  // Empty when the chart names no title.
  const std::string &getTitle() const { return m_title; }
  // As written: relative paths are taken from the chart's folder.
  const std::string &getMusic() const { return m_music; }
  // The label the game loads the music under at start ("game_bgm1"), for
  // the game's own songs; empty for any other.
  const std::string &getTrack() const { return m_track; }
  // The play length the start of the song announces, in seconds; 0 when the
  // chart gives none.
  int32_t getSeconds() const { return m_seconds; }
  // As the chart names it ("Hard"); empty when it names none.
  const std::string &getDifficulty() const { return m_difficulty; }
  // Seconds into the music where the song list's preview starts; below 0
  // when the chart gives none.
  double getPreviewSeconds() const { return m_preview_seconds; }
  // One per note, never falling, from 1 to MAX_STEP; a step repeats only
  // for a chord's notes, each in a lane of its own.
  const std::vector<int32_t> &getSteps() const { return m_steps; }
  // One per note: 0 to 3, or RANDOM_LANE.
  const std::vector<int> &getLanes() const { return m_lanes; }
  // One per note: the hold's length in steps, 0 for a plain note.
  const std::vector<int32_t> &getHoldSteps() const { return m_holds; }
  // Lines on what makes the chart hard to read ("line 4: notes in lane up 2
  // steps apart ..."); it plays all the same.
  const std::vector<std::string> &getWarnings() const { return m_warnings; }

 private:
  bool readLine(const std::string &line, int number);
  bool readNotes(const std::string &value, int number);
  bool readNote(const std::string &word, int number);
  bool readSeconds(const std::string &value, int number);
  bool readPreview(const std::string &value, int number);
  bool readText(const std::string &field, const std::string &value, int number);
  bool checkPlace(int32_t step, int lane, int number);
  void warnIfCrowded(int32_t step, int lane, int number);
  bool fail(int number, const std::string &reason);
  bool finish();
  void clearContents();

  std::string m_error;
  std::string m_title;
  std::string m_music;
  std::string m_track;
  int32_t m_seconds = 0;
  bool m_has_title = false;
  std::string m_difficulty;
  double m_preview_seconds = -1;
  std::vector<int32_t> m_steps;
  std::vector<int> m_lanes;
  std::vector<int32_t> m_holds;
  std::vector<std::string> m_warnings;
  size_t m_warnings_left_out = 0;
  // Per lane: the step its last note ends on (a hold's last step), 0 before
  // any; and the same over all lanes, for notes left to chance.
  int32_t m_lane_end[4] = {0, 0, 0, 0};
  int32_t m_any_hold_end = 0;
};

#endif
