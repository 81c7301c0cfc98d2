// The start screen: shows the title picture while the start music loops,
// and turns into a running game when the player picks a track. C opens the
// calibration screen in its place.
#ifndef RHYTHM_GAME_START_H
#define RHYTHM_GAME_START_H

#include <optional>
#include <string>

#include <tessera/world/ViewObject.h>

namespace ts {
class Music;
}

class GameStart : public ts::ViewObject {
 public:
  GameStart();
  ~GameStart() override;

  int eventHandler(const ts::Event *p_event) override;
  // Shows the sprite the way a plain object does, not the view text.
  int draw() override;

  // Stops the start music, plays the track once and creates the objects
  // that play its chart; the start screen then removes itself. Only the
  // first call does anything: a second start key in the same frame would
  // otherwise create a second set of play objects.
  void startGame(std::string track_label);
  bool hasStartedGame() const { return m_game_started; }

  // The audio offset the game is played with (see NoteClock).
  void setAudioOffset(int offset_ms) { m_audio_offset_ms = offset_ms; }
  int getAudioOffset() const { return m_audio_offset_ms; }
  // Hides the start screen and opens the calibration screen.
  void openCalibration();
  // Shows the start screen again, with the calibrated offset if there is one.
  void endCalibration(std::optional<int> offset_ms);
  bool isCalibrating() const { return m_calibrating; }

 private:
  ts::Music *m_p_start_music;  // owned by the resource manager
  bool m_game_started;
  int m_audio_offset_ms;
  bool m_calibrating;  // the calibration screen is open: keys are its own
};

#endif
