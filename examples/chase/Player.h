// The player: one cell per arrow key press (or every few frames while the
// key is held). The view follows it through the maze.
#ifndef CHASE_PLAYER_H
#define CHASE_PLAYER_H

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class Player : public ts::Object {
 public:
  static const int LIVES = 3;

  explicit Player(ts::Vector start);
  int eventHandler(const ts::Event *p_event) override;

  // Called by the enemy that reached the player: one life less, and back to
  // the start at the next step; the game ends with the last life.
  void caught();
  int getLives() const { return m_lives; }

 private:
  static const int HOLD_STEPS = 3;  // frames between moves while a key is held

  void handleKey(const ts::EventKeyboard *p_keyboard);
  void tryMove(ts::Vector delta);

  ts::Vector m_start;
  int m_lives;
  int m_next_held_move;  // the step from which a held key moves again
  bool m_back_to_start;
};

#endif
