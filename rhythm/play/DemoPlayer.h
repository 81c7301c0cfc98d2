// Plays a track on its own to show what to do: it picks the track with its
// start key and presses the matching arrow key for every note that reaches
// the "Perfect!" rows, through the same keyboard-event delivery a player's
// key takes.
#ifndef RHYTHM_DEMO_PLAYER_H
#define RHYTHM_DEMO_PLAYER_H

#include <cstdint>
#include <set>
#include <string>

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class DemoPlayer : public ts::Object {
 public:
  // track is 1 or 2, the digit key that starts it.
  explicit DemoPlayer(int track);

  int eventHandler(const ts::Event *p_event) override;

  int getPressCount() const { return m_press_count; }
  // The track number of a "--demo" argument, or 0 if it names none.
  static int trackOfArgument(const std::string &argument);

 private:
  void pressKey(ts::Keyboard::Key key) const;
  void playDueNotes();
  void reportTiming(int step) const;

  int m_track;
  bool m_track_started;
  int m_start_step;    // the game step at which the track was started
  int64_t m_start_us;  // and the monotonic clock then
  int m_press_count;
  std::set<uint64_t> m_pressed;  // serials of the notes already played
};

#endif
