// Runs the show from a script of keys: presses one every few frames, through
// the same keyboard-event delivery a player's key takes, and ends the show
// after a given number of frames, logging what every exhibit shows then.
#ifndef SPRITES_AUTOPILOT_H
#define SPRITES_AUTOPILOT_H

#include <string>

#include <tessera/world/Object.h>

class Autopilot : public ts::Object {
 public:
  static const int PRESS_STEPS = 4;  // frames between two moves

  // keys: S for Space, N for N, any other character for a pause; steps:
  // frames after which the show ends.
  Autopilot(std::string keys, int steps);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void press(char key) const;
  void report() const;

  std::string m_keys;
  int m_steps;
  int m_step;
};

#endif
