// Flies the ship for demonstrations and tests: presses the arrow key
// towards the nearest beacon, through the same delivery as the keyboard's,
// and ends the game after a number of frames.
#ifndef SCROLLER_AUTOPILOT_H
#define SCROLLER_AUTOPILOT_H

#include <tessera/world/Object.h>

class Autopilot : public ts::Object {
 public:
  explicit Autopilot(int steps);  // steps: frames after which the game ends (-1: never)
  int eventHandler(const ts::Event *p_event) override;

 private:
  void steer() const;

  int m_steps;
  int m_step;
};

#endif
