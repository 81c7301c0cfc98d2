// Plays a track on its own to show what to do: it picks the track with its
// start key and presses the matching arrow key for every note, through the
// same keyboard-event delivery a player's key takes. Under the classic rules
// it presses when a note reaches the "Perfect!" rows; under the fair rules
// it presses at the moment the note is shown on its receptor, as a perfect
// player would: the press is delivered at the first frame after that moment
// and carries its time, as a key read while the loop slept does. It holds a
// hold's key until the hold has ended and then lets go of it, as a player
// holding to the end does; each note of a chord has its own key.
#ifndef RHYTHM_DEMO_PLAYER_H
#define RHYTHM_DEMO_PLAYER_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>
#include <tessera/world/ObjectList.h>

#include "play/Rules.h"

class Note;
namespace ts {
class Music;
}

class DemoPlayer : public ts::Object {
 public:
  // track is 1 to 9, the digit key that starts it.
  explicit DemoPlayer(int track, Rules rules = Rules::CLASSIC);

  int eventHandler(const ts::Event *p_event) override;

  int getPressCount() const { return m_press_count; }
  // The track number of a "--demo" argument (1 to 9), or 0 if it names none.
  static int trackOfArgument(const std::string &argument);

 private:
  void pressKey(ts::Keyboard::Key key, int64_t time_us, ts::EventKeyboardAction action = ts::KEY_PRESSED) const;
  void releaseEndedHolds(const ts::ObjectList &notes, int64_t now_us);
  void playDueNotes();
  bool isDue(const Note &note, int64_t now_us, int64_t &press_us) const;
  void reportTiming(int step) const;
  static std::pair<double, int64_t> freshTrackReading(const ts::Music &track);
  // A fresh reading is waited for at most this long: a few mixing periods.
  static constexpr int64_t FRESH_READING_WAIT_US = 100000;

  int m_track;
  Rules m_rules;
  bool m_track_started;
  int m_start_step;    // the game step at which the track was started
  int64_t m_start_us;  // and the monotonic clock then
  int m_press_count;
  std::set<uint64_t> m_pressed;  // serials of the notes already played
  std::map<uint64_t, ts::Keyboard::Key> m_held;  // the holds pressed and not let go, by serial
};

#endif
