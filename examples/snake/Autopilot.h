// Plays the game for demonstrations and tests: presses the arrow key that
// turns the snake towards the food, through the same delivery as the
// keyboard's, and ends the game after a number of frames. It does not look
// out for the snake's body.
#ifndef SNAKE_AUTOPILOT_H
#define SNAKE_AUTOPILOT_H

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class Autopilot : public ts::Object {
 public:
  // steer: turn the snake (else leave it alone); steps: frames after which
  // the game ends (-1: never).
  Autopilot(bool steer, int steps);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void steer() const;
  void press(ts::Keyboard::Key key) const;

  bool m_steer;
  int m_steps;
  int m_step;
};

#endif
