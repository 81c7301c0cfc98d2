// Plays the game for demonstrations and tests: holds the arrow key that
// brings the paddle under the ball, presses Space when the game is over, and ends the run after a number of
// frames. Its keys take the same way as the keyboard's.
#ifndef BREAKOUT_AUTOPILOT_H
#define BREAKOUT_AUTOPILOT_H

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class Autopilot : public ts::Object {
 public:
  // follow: move the paddle after the ball (else only restart); steps: frames after which the
  // game ends (-1: never).
  Autopilot(bool follow, int steps);
  int eventHandler(const ts::Event *p_event) override;

 private:
  static const int AIM_STEPS = 150;  // frames between two changes of aim

  void play() const;
  void press(ts::Keyboard::Key key, ts::EventKeyboardAction action) const;

  bool m_follow;
  int m_steps;
  int m_step;
};

#endif
