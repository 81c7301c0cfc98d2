// The calibration screen, opened with C from the start screen. It plays a
// steady click track and the player taps Space on each click; the median
// time from click to tap, as the notes would see it, becomes the audio
// offset, which is shown and saved in the settings file. Escape goes back to
// the start screen, without saving when the clicks are not over yet.
#ifndef RHYTHM_CALIBRATION_H
#define RHYTHM_CALIBRATION_H

#include <optional>
#include <string>
#include <vector>

#include <tessera/world/Object.h>

#include "play/NoteClock.h"
#include "play/Rules.h"

namespace ts {
class Music;
}

class Calibration : public ts::Object {
 public:
  // Taps farther than this from every click are left out.
  static constexpr int MAX_TAP_DISTANCE_MS = 150;
  // At least this many taps must be near a click for a result.
  static constexpr int MIN_TAPS = 8;

  // The offset is saved in the settings file at settings_path.
  // rules: how presses are timed in play, and so how taps are timed here.
  explicit Calibration(std::string settings_path, Rules rules = Rules::CLASSIC);
  ~Calibration() override;

  int eventHandler(const ts::Event *p_event) override;
  int draw() override;

  // The median of tap minus nearest click over the taps within
  // MAX_TAP_DISTANCE_MS of a click, rounded to whole milliseconds; nothing
  // when fewer than min_taps are that close.
  static std::optional<int> offsetFromTaps(const std::vector<double> &taps_ms, const std::vector<double> &clicks_ms,
                                           int min_taps = MIN_TAPS);

  enum State { NEEDS_SOUND, LISTENING, FINISHED };
  State getState() const { return m_state; }
  const std::vector<double> &getTaps() const { return m_taps_ms; }
  std::optional<int> getOffset() const { return m_offset_ms; }

 protected:
  // Where the click track is now; nothing once it has stopped.
  virtual std::optional<NoteClock::TrackReading> readTrack() const;

 private:
  void step();
  void tap(int64_t time_us);
  void finish();
  void leave();

  std::string m_settings_path;
  ts::Music *m_p_track;  // owned by the resource manager
  NoteClock m_clock;     // the notes' clock, run on the click track
  State m_state;
  std::vector<double> m_taps_ms;  // the clock's time at each tap
  std::optional<int> m_offset_ms;
  std::string m_result;  // the line that tells the result
};

#endif
