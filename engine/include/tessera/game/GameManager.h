/// @file
/// GameManager: start-up, the game loop and shut-down.
#ifndef TS_GAME_MANAGER_H
#define TS_GAME_MANAGER_H

#include <atomic>
#include <cstdint>

#include <tessera/core/GameLoop.h>
#include <tessera/core/Manager.h>
#include <tessera/core/Version.h>

namespace ts {

/// Starts every manager in order, runs the fixed-rate game loop and stops
/// the managers again. While started it catches Ctrl-C and kill's terminate
/// signal (unless the configuration's "signals" is false): the first ends the
/// game after the current frame, cutting its sleep short, so that the
/// managers stop and the log is closed; a second ends the process at once.
/// While a frame sleeps with a window or terminal to read, it wakes about
/// every millisecond so the input manager can stamp pending input as it
/// comes (InputManager::sampleInput()); headless the sleep is one piece.
class GameManager : public Manager, public GameLoop {
 public:
  /// The one game manager; it installs itself as the GameLoop.
  static GameManager &getInstance();
  /// Uninstalls itself as the GameLoop.
  ~GameManager() override;

  /// Loads the configuration, starts the log (and writes its banner and the
  /// settings), then the display, input, network (when "networking" is on),
  /// resource, world and path managers in that order; sets the world's
  /// boundary and view to the screen's size in cells with view slack 1/3,
  /// and seeds rand(). 0 on success; -1 when already started or a manager
  /// fails, with a log line naming it ("GameManager::startUp(): Error!
  /// Starting display manager."). Do not call shutDown() after a failure.
  int startUp() override;
  /// Stops the path, world (destroying every object), resource (deleting
  /// every sprite), network, input and display managers, then the log.
  void shutDown() override;
  /// True only for "ts-step".
  bool isValid(std::string event_type) const override;

  /// Runs frames until the game-over flag is set (the frame in which it is set
  /// is finished). Each frame: step events, show the last frame's drawing,
  /// input, world update, world drawing, network, path searches, then sleep
  /// the rest of the frame time.
  void run();
  /// Sets the flag that ends run() after the current frame. Also tells the
  /// world's scene graph, which stops reporting the failures that are
  /// expected while a finished game is torn down.
  void setGameOver(bool game_over = true) override;
  /// Whether the game-over flag is set.
  bool getGameOver() const { return m_game_over; }
  /// Target frame time in milliseconds (configuration "frame_time", 33).
  int getFrameTime() const override { return m_frame_time; }
  /// Frames run so far.
  int getStepCount() const override { return m_step_count; }
  /// Whether a stop signal came that the loop has not taken yet, so that long
  /// work before the loop (loading songs) can stop early; the loop then ends
  /// the game at its first frame.
  bool isStopRequested() const;

 private:
  GameManager();
  int startManagers();
  void seedRandom() const;
  void runFrame(class Clock &clock, int &correction);
  void sleepRestOfFrame(class Clock &clock, int &correction);
  void sleepSamplingInput(int64_t deadline) const;
  bool noteStopSignal(const char *operation) const;

  bool m_game_over;
  int m_frame_time;
  // Read by log lines written on the media library's threads too.
  std::atomic<int> m_step_count;
};

}  // namespace ts

#endif
