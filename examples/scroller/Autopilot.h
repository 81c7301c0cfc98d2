// Flies the ship for demonstrations and tests: presses the arrow key
// towards the nearest beacon, or plays a script of keys, through the same
// delivery as the keyboard's, and ends the game after a number of frames.
#ifndef SCROLLER_AUTOPILOT_H
#define SCROLLER_AUTOPILOT_H

#include <string>

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class Autopilot : public ts::Object {
 public:
  static const int KEY_STEPS = 60;  // frames between two keys of a script

  // keys: L, R, U, D for the arrow keys, anything else waits;
  // none: fly to the beacons. steps: frames after which the game ends (-1:
  // never).
  Autopilot(std::string keys, int steps);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void steer() const;
  void playScript() const;
  void press(ts::Keyboard::Key key) const;

  std::string m_keys;
  int m_steps;
  int m_step;
};

#endif
