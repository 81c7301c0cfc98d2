// Rounds of the game: the song list, the chosen song, its results, and the
// song list again (or the same song, when the player retries), until the
// player leaves with Escape or closes the window. Each round runs the
// engine's game loop once; the results end it (after the game-over screen's
// three seconds under the classic rules and in a one-round run, else at the
// player's key), as does a choice in the pause menu, and the round loop then
// clears the world and starts the next round. A demo, or a run with --once,
// ends after the first song's results.
#ifndef RHYTHM_ROUND_LOOP_H
#define RHYTHM_ROUND_LOOP_H

#include <string>
#include <vector>

#include "play/Rules.h"
#include <optional>

#include "player/BestScores.h"
#include "player/GameSettings.h"
#include "songs/SongLibrary.h"

class RoundLoop {
 public:
  struct Options {
    int demo_track = 0;  // 1 to 9: the game plays the song of that key itself
    // A chart file the demo plays (on key 1) instead of the song folders'.
    std::string demo_chart;
    bool once = false;   // end after the first song
    int offset_ms = 0;   // the audio offset the notes keep
    Rules rules = Rules::FAIR;
    std::vector<std::string> chart_folders = SongLibrary::standardFolders();
    std::string scores_path = BestScores::defaultPath();
    double scroll_speed = 1.0;  // rows per step the notes fall, 0.5 to 2
    GameSettings settings;      // the player's: lane keys, song offsets, the hit-error bar
    std::string settings_path;  // where the settings screen saves them; empty: nowhere
  };
  enum class RoundEnd { SONG_FINISHED, QUIT, SONG_LIST, RETRY };

  // Reads the songs (and loads their music) once for all rounds.
  explicit RoundLoop(Options options);
  virtual ~RoundLoop() = default;

  // Plays rounds until the player quits, or the one round of a demo or of
  // --once.
  void run();
  // Shows the start screen and runs the game loop until it ends.
  RoundEnd playRound();
  // Destroys every object the round left in the world.
  void clearRound();

  int getRoundCount() const { return m_rounds; }
  const SongLibrary &getLibrary() const { return m_library; }
  const GameSettings &getSettings() const { return m_settings; }

 protected:
  // Called with the start screen in place, before the game loop runs: the
  // demo player joins the round here.
  virtual void startRound();

 private:
  RoundEnd howRoundEnded() const;
  bool isOneRound() const { return m_options.once || m_options.demo_track != 0; }

  Options m_options;
  SongLibrary m_library;
  int m_rounds;
  GameSettings m_settings;          // changed by the settings screen for later rounds
  std::optional<Song> m_last_song;  // the song last started: selected again, or retried
  bool m_retry = false;             // the next round plays the last song again
};

#endif
