// The game's rules, in an invisible object that gets step and key events:
// serves a ball when there is none and counts the lives, builds the next
// level's wall when the last brick is gone, and starts a new game with
// Space once the last life is lost.
#ifndef BREAKOUT_GAME_H
#define BREAKOUT_GAME_H

#include <tessera/world/Object.h>
#include <tessera/world/TextView.h>
#include <tessera/world/ViewObject.h>

class Game : public ts::Object {
 public:
  static const int LIVES = 3;

  Game();
  int eventHandler(const ts::Event *p_event) override;

 private:
  void step();
  void startLevel(int level);
  void ballLost();
  void gameOver();
  void newGame();

  // View objects the game made and keeps until the end: it sets their values.
  ts::ViewObject *m_score;
  ts::ViewObject *m_lives;
  ts::ViewObject *m_level;
  ts::TextView *m_message;  // "Game over", while it is shown; else null
};

#endif
