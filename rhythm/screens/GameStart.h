// The start screen: shows the title picture with the song list while the
// start music loops, and turns into a running game when the player picks a
// song: Up/Down and Enter, or the digit key of its row. Under the fair rules
// resting on a song plays a preview of its music. C opens the calibration screen in its place,
// S the settings screen.
#ifndef RHYTHM_GAME_START_H
#define RHYTHM_GAME_START_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/ViewObject.h>

#include "play/Rules.h"
#include "player/BestScores.h"
#include "player/GameSettings.h"
#include "screens/SongMenu.h"
#include "songs/Song.h"

namespace ts {
class Music;
}

class GameStart : public ts::ViewObject {
 public:
  GameStart();
  ~GameStart() override;

  int eventHandler(const ts::Event *p_event) override;
  // Shows the sprite the way a plain object does, not the view text, and
  // the song list in it.
  int draw() override;

  // Steps the selection rests on a song before its preview plays.
  static constexpr int PREVIEW_DELAY_STEPS = 20;

  // The songs offered, in the song list. Without a list the game's own songs
  // are read from the game's chart folder at the first start key.
  void setSongs(std::vector<Song> songs);
  const std::vector<Song> &getSongs() const { return m_songs; }
  // Where best scores are kept (shown beside the songs); with keep false,
  // the results of this game leave them as they are.
  void setBestScores(const std::string &path, bool keep);

  // Stops the start music, plays the song's track once and creates the
  // objects that play its chart; the start screen then removes itself. Only
  // the first call does anything: a second start key in the same frame
  // would otherwise create a second set of play objects.
  void startSong(const Song &song);
  // The listed song with the track label, or, when none is listed, the
  // track alone, with no notes.
  void startGame(std::string track_label);
  bool hasStartedGame() const { return m_game_started; }

  // The rules songs are played by: CLASSIC (judged by row) unless told
  // otherwise, as a start screen used on its own always was.
  void setRules(Rules rules) { m_rules = rules; }
  Rules getRules() const { return m_rules; }

  // The audio offset the game is played with (see NoteClock).
  void setAudioOffset(int offset_ms) { m_audio_offset_ms = offset_ms; }
  int getAudioOffset() const { return m_audio_offset_ms; }
  // Hides the start screen and opens the calibration screen.
  void openCalibration();
  // Shows the start screen again, with the calibrated offset if there is one.
  void endCalibration(std::optional<int> offset_ms);
  bool isCalibrating() const { return m_calibrating; }

  // The player's settings the songs are played with (owned by the caller,
  // who keeps them beyond this screen, and changed by the settings screen),
  // and the file the settings screen saves them in (empty: none).
  void setPlayerSettings(GameSettings *p_settings, std::string path);
  const GameSettings &getPlayerSettings() const { return *m_p_settings; }
  // Hides the start screen and opens the settings screen for the selected
  // song.
  void openSettings();
  // Shows the start screen again, with the saved settings if there are any.
  void endSettings(std::optional<GameSettings> saved);
  bool isInSettings() const { return m_in_settings; }

  // Whether a song's results wait for a key (the game as shipped) instead
  // of the game-over screen's three seconds.
  void setResultsWait(bool waits) { m_results_wait = waits; }
  // Told of each song started, before it plays.
  void setOnStart(std::function<void(const Song &)> on_start) { m_on_start = std::move(on_start); }
  SongMenu &getMenu() { return m_menu; }
  // The track whose preview plays, or null.
  const ts::Music *getPreview() const { return m_p_preview; }

 private:
  void handleKey(ts::Keyboard::Key key);
  void startSongOfKey(ts::Keyboard::Key key);
  void selectionChanged();
  void startPreview();
  void stopPreview();
  // The keys are another screen's while it is open.
  bool isHidden() const { return m_calibrating || m_in_settings; }
  void offerGameSongs();
  void createPlayObjects(const Song &song, ts::Music *p_track, double lead_in_ms);

  ts::Music *m_p_start_music;  // owned by the resource manager
  bool m_game_started;
  int m_audio_offset_ms;
  bool m_calibrating;  // the calibration screen is open: keys are its own
  std::vector<Song> m_songs;
  bool m_songs_given;
  BestScores m_best_scores;
  std::string m_scores_path;
  bool m_keep_scores;
  Rules m_rules = Rules::CLASSIC;
  SongMenu m_menu;
  GameSettings m_own_settings;
  GameSettings *m_p_settings = &m_own_settings;
  std::string m_settings_path;
  bool m_in_settings = false;
  bool m_results_wait = false;
  std::function<void(const Song &)> m_on_start;
  ts::Music *m_p_preview = nullptr;  // owned by the resource manager
  int m_preview_wait = 0;            // steps the selection has rested
};

#endif
