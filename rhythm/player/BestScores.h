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
  // A larger file is not read, and not written over (a thousand songs' lines
  // fit in it).
  static constexpr size_t MAX_FILE_BYTES = 64 * 1024;

  // How keeping one score went.
  struct Kept {
    bool new_best = false;          // it beat the best and the file was written
    std::optional<int32_t> before;  // the best before it was offered
    std::optional<int32_t> best;    // the best now in the file
    std::string problem;            // why a score that beat the best could not be kept; empty otherwise
  };
  // Reads the file, offers the score and writes the file if it beat the
  // best, all under an advisory lock on the lock file beside it (the path
  // with ".lock" added), so that games finishing at once take turns and
  // each keeps its score.
  static Kept keep(const std::string &path, const std::string &song, int32_t score);

  // Empty when there is no data folder.
  static std::string defaultPath();

  // Reads the file; a missing one holds no scores. One that is not a regular
  // file (a FIFO is never waited on) or is larger than MAX_FILE_BYTES is not
  // read, with a log line, and not written over.
  void load(const std::string &path);
  std::optional<int32_t> best(const std::string &song) const;
  // Takes a score above 0 if it beats the song's best (or the song has
  // none); true then. Songs whose names could not be written on one line
  // are refused.
  bool offer(const std::string &song, int32_t score);
  // Writes the file through a temporary file renamed over it. 0 on success,
  // -1 with a log line and the reason in problem when asked for; also -1
  // when the file read by load() was too large or unreadable, which is left
  // as it is.
  int save(const std::string &path, std::string *p_problem = nullptr) const;

 private:
  bool readLine(const std::string &line);
  static bool isStorableName(const std::string &song);

  std::map<std::string, int32_t> m_best;
  std::vector<std::string> m_unread_lines;  // kept as they were
  bool m_may_write = true;
};

#endif
