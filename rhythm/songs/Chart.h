// A song's chart as written in a chart file (see docs/charts.md): its title,
// its music file, for the game's own songs the label their music is loaded
// under and the play length the log announces, and the steps at which its
// notes fall, each with a lane or left to chance. Reading never fails loudly: a chart that cannot be used
// says why in getError(), naming the line, and holds nothing else.
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
  static constexpr size_t MAX_TITLE_LENGTH = 40;
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
  // Strictly increasing, from 1 to MAX_STEP.
  const std::vector<int32_t> &getSteps() const { return m_steps; }
  // One per step: 0 to 3, or RANDOM_LANE.
  const std::vector<int> &getLanes() const { return m_lanes; }

 private:
  bool readLine(const std::string &line, int number);
  bool readNotes(const std::string &value, int number);
  bool readNote(const std::string &word, int number);
  bool readSeconds(const std::string &value, int number);
  bool fail(int number, const std::string &reason);
  bool finish();
  void clearContents();

  std::string m_error;
  std::string m_title;
  std::string m_music;
  std::string m_track;
  int32_t m_seconds = 0;
  bool m_has_title = false;
  std::vector<int32_t> m_steps;
  std::vector<int> m_lanes;
};

#endif
