// What the engine's lower modules need to know of the game loop (the step
// count, the frame time) and the one thing they may ask of it (to end the
// game). The game manager, which runs the loop, installs itself here when it
// is created, so that these modules need not include it; without an
// installed loop the step count and frame time read 0.
#ifndef TS_GAME_LOOP_H
#define TS_GAME_LOOP_H

namespace ts {

class GameLoop {
 public:
  virtual ~GameLoop() = default;
  virtual int getStepCount() const = 0;
  virtual int getFrameTime() const = 0;
  virtual void setGameOver(bool game_over = true) = 0;

  static void install(GameLoop *loop);
  static void uninstall(GameLoop *loop);
  static int stepCount();
  static int frameTime();
  // Sets the game-over flag of the installed loop, or of the first loop
  // installed later.
  static void endGame();
};

}  // namespace ts

#endif
