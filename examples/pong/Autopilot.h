// Plays one side of the match from a script: one letter for each ball that
// comes towards its paddle, H to hit it back and M to miss it; every ball
// after the script is missed, so a match between two autopilots ends. It
// moves the paddle with the same keyboard events a player's keys make, one
// row for each move of the ball, so that a run plays the same every time.
#ifndef PONG_AUTOPILOT_H
#define PONG_AUTOPILOT_H

#include <string>

#include <tessera/world/Object.h>

class Court;

class Autopilot : public ts::Object {
 public:
  // steps: frames after which the game ends anyway (-1: never).
  Autopilot(std::string script, int steps);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void follow(const Court &court);
  void decideNextBall();
  int targetRow(const Court &court) const;
  void press(int rows) const;

  std::string m_script;
  size_t m_next_letter;
  bool m_hit;     // what to do with the ball that is coming
  bool m_coming;  // whether the ball moved towards this side at its last move
  int m_last_x;   // where the ball was at the last move
  int m_last_y;
  int m_steps;
  int m_step;
};

#endif
