// The start screen: shows the title picture with the song list while the
// start music loops, and turns into a running game when the player picks a
// song with its digit key. C opens the calibration screen in its place.
#ifndef RHYTHM_GAME_START_H
#define RHYTHM_GAME_START_H

#include <optional>
#include <string>
#include <vector>

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/ViewObject.h>

#include "play/Rules.h"
#include "player/BestScores.h"
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

  // The songs offered, on their keys. Without a list the game's own songs
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
  // Rows per step the notes fall (see NoteSpawner::setScrollSpeed).
  void setScrollSpeed(double rows_per_step) { m_scroll_speed = rows_per_step; }
  // Hides the start screen and opens the calibration screen.
  void openCalibration();
  // Shows the start screen again, with the calibrated offset if there is one.
  void endCalibration(std::optional<int> offset_ms);
  bool isCalibrating() const { return m_calibrating; }

 private:
  void startSongOfKey(ts::Keyboard::Key key);
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
  double m_scroll_speed = 1.0;
};

#endif
