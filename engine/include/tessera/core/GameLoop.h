/// @file
/// GameLoop, what the lower modules know of the game loop.
#ifndef TS_GAME_LOOP_H
#define TS_GAME_LOOP_H

namespace ts {

/// What the engine's lower modules need to know of the game loop (the step
/// count, the frame time) and the one thing they may ask of it (to end the
/// game). The game manager, which runs the loop, installs itself here when it
/// is created, so that these modules need not include it; without an
/// installed loop the step count and frame time read 0.
class GameLoop {
 public:
  /// Nothing to release.
  virtual ~GameLoop() = default;
  /// Frames run so far.
  virtual int getStepCount() const = 0;
  /// Target frame time in milliseconds.
  virtual int getFrameTime() const = 0;
  /// Ends the loop after the current frame (or, with false, keeps it going).
  virtual void setGameOver(bool game_over = true) = 0;

  /// Makes loop (not owned; null uninstalls) the loop the static calls ask.
  /// An endGame() that came before any loop sets the new loop's game-over flag.
  static void install(GameLoop *loop);
  /// Forgets loop if it is the installed one.
  static void uninstall(GameLoop *loop);
  /// The installed loop's step count, or 0.
  static int stepCount();
  /// The installed loop's frame time in milliseconds, or 0.
  static int frameTime();
  /// Sets the game-over flag of the installed loop, or of the first loop
  /// installed later.
  static void endGame();
};

}  // namespace ts

#endif
