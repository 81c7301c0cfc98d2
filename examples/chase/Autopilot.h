// Plays the game from a script of moves: presses one key every few frames,
// through the same keyboard-event delivery a player's key takes, and ends
// the game after a given number of frames. For demonstrations and tests.
#ifndef CHASE_AUTOPILOT_H
#define CHASE_AUTOPILOT_H

#include <string>

#include <tessera/world/Object.h>

class Autopilot : public ts::Object {
 public:
  static const int PRESS_STEPS = 4;  // frames between two moves

  // moves: one letter per move, L, R, U or D for the arrow keys, any other
  // character for a pause; steps: frames after which the game ends.
  Autopilot(std::string moves, int steps);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void press(char move) const;

  std::string m_moves;
  int m_steps;
  int m_step;
};

#endif
