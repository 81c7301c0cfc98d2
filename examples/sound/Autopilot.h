// Presses a script of keys, one every few frames, through the same
// keyboard-event delivery a player's key takes, and ends the game after a
// given number of frames.
#ifndef SOUND_AUTOPILOT_H
#define SOUND_AUTOPILOT_H

#include <string>

#include <tessera/world/Object.h>

class Autopilot : public ts::Object {
 public:
  static const int PRESS_STEPS = 4;  // frames between two moves

  // keys: P for the P key, any other character for a pause; steps: frames
  // after which the game ends.
  Autopilot(std::string keys, int steps);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void press(char key) const;

  std::string m_keys;
  int m_steps;
  int m_step;
};

#endif
