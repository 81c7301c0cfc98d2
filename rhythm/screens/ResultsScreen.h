// The results of a song, shown under the game-over picture once the song is
// over: the judgements, the longest combo, the score, the accuracy and its
// grade, "New best!" when the score beats the song's kept best, which is
// then saved, and, for timed presses, how early or late they were on average
// with their spread, and an offset to try when they lean one way. Until
// then it draws nothing. In the game as shipped the results wait for a key:
// Enter (or Escape) goes to the song list, R plays the song again.
#ifndef RHYTHM_RESULTS_SCREEN_H
#define RHYTHM_RESULTS_SCREEN_H

#include <optional>
#include <string>
#include <vector>

#include <tessera/world/Object.h>

#include "play/Results.h"

class ResultsScreen : public ts::Object {
 public:
  // song: the name its best score is kept under; scores_path: the best
  // scores file, or empty when this run keeps no scores (a demo).
  ResultsScreen(std::string song, std::string title, std::string scores_path);
  // Keeps the best score under this name instead of the song's (the log
  // still names the song).
  void setScoreKey(std::string key) { m_score_key = std::move(key); }

  // Logs the results in one line, keeps a new best score and shows them.
  // Only the first call counts.
  void show(const Results &results);
  int draw() override;
  // The audio offset the song was played with, for the advice on timing.
  void setPlayedOffset(int offset_ms) { m_played_offset_ms = offset_ms; }

  // Whether the results wait for a key instead of the game-over screen's
  // three seconds, and show "Cleared" in place of its picture.
  void setWaitsForKey(bool waits) { m_waits_for_key = waits; }
  bool waitsForKey() const { return m_waits_for_key; }
  int eventHandler(const ts::Event *p_event) override;

  bool isShown() const { return m_results.has_value(); }
  bool isNewBest() const { return m_new_best; }
  // The lines shown, from the top; empty until shown.
  std::vector<std::string> lines() const;

 private:
  std::string keepBest(int32_t score);
  std::vector<std::string> timingLines() const;

  std::string m_song;
  std::string m_score_key;  // the name the best score is kept under; m_song when empty
  std::string m_title;
  std::string m_scores_path;
  std::optional<Results> m_results;
  bool m_new_best;
  std::optional<int32_t> m_best;  // the kept best after this song
  std::string m_not_kept;         // why a best score could not be saved; empty when it was or none was due
  int m_played_offset_ms = 0;
  bool m_waits_for_key = false;
};

#endif
