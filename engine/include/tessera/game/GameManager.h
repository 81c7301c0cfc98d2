// Starts every manager in order, runs the fixed-rate game loop and stops
// the managers again. While started it catches Ctrl-C and kill's terminate
// signal (unless the configuration's "signals" is false): the first ends the
// game after the current frame, cutting its sleep short, so that the
// managers stop and the log is closed; a second ends the process at once.
// While a frame sleeps with a window or terminal to read, it wakes about
// every millisecond so the input manager can stamp pending input as it
// comes (InputManager::sampleInput()); headless the sleep is one piece.
#ifndef TS_GAME_MANAGER_H
#define TS_GAME_MANAGER_H

#include <atomic>
#include <cstdint>

#include <tessera/core/GameLoop.h>
#include <tessera/core/Manager.h>
#include <tessera/core/Version.h>

namespace ts {

class GameManager : public Manager, public GameLoop {
 public:
  static GameManager &getInstance();
  ~GameManager() override;

  int startUp() override;
  void shutDown() override;
  bool isValid(std::string event_type) const override;

  // Runs frames until the game-over flag is set.
  void run();
  // Also tells the world's scene graph, which stops reporting the failures
  // that are expected while a finished game is torn down.
  void setGameOver(bool game_over = true) override;
  bool getGameOver() const { return m_game_over; }
  int getFrameTime() const override { return m_frame_time; }
  int getStepCount() const override { return m_step_count; }
  // Whether a stop signal came that the loop has not taken yet, so that long
  // work before the loop (loading songs) can stop early; the loop then ends
  // the game at its first frame.
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
