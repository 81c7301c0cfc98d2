// The best score of each song, kept in the player's data folder
// (scores.txt in UserData::folder()), one song a line: the score, a blank,
// the chart's file name. Lines that are not scores (a damaged or foreign
// file) are skipped with a log line and written back as they were, so that
// saving never destroys what the game could not read.
#ifndef RHYTHM_BEST_SCORES_H
#define RHYTHM_BEST_SCORES_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class BestScores {
 public:
  // A larger file is not read, and not written over.
  static constexpr size_t MAX_FILE_BYTES = 1024 * 1024;

  // Empty when there is no data folder.
  static std::string defaultPath();

  // Reads the file; a missing one holds no scores.
  void load(const std::string &path);
  std::optional<int32_t> best(const std::string &song) const;
  // Takes a score above 0 if it beats the song's best (or the song has
  // none); true then. Songs whose names could not be written on one line
  // are refused.
  bool offer(const std::string &song, int32_t score);
  // Writes the file through a temporary file renamed over it. 0 on success,
  // -1 with a log line; also -1 when the file read by load() was too large
  // or unreadable, which is left as it is.
  int save(const std::string &path) const;

 private:
  bool readLine(const std::string &line);
  static bool isStorableName(const std::string &song);

  std::map<std::string, int32_t> m_best;
  std::vector<std::string> m_unread_lines;  // kept as they were
  bool m_may_write = true;
};

#endif
