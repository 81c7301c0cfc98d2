// Where the input manager reads the player's input once it has started: the
// window's events or the terminal's bytes. The manager picks one at start-up
// and asks it once a frame for the frame's input; between frames, while the
// game loop sleeps, it may ask it to sample what is pending, so that each
// input is stamped close to when it came. Headless, it has none.
#ifndef TS_INPUT_SOURCE_H
#define TS_INPUT_SOURCE_H

#include <cstdint>

#include <tessera/core/Vector.h>
#include <tessera/input/EventMouse.h>

namespace ts {

class Manager;

class InputSource {
 public:
  enum Outcome {
    READ,    // the frame's input was delivered
    CLOSED,  // the player closed the window; the game is over
  };

  virtual ~InputSource() = default;
  // Prepares the input at the manager's start-up: 0, or -1 (logged).
  virtual int start() = 0;
  // Puts back what start() changed, at the manager's shut-down.
  virtual void stop() = 0;
  // Reads what is pending now, stamps each input with the time it was read
  // and keeps it for the next readFrame(); delivers nothing.
  virtual void sample() = 0;
  // Delivers this frame's input as keyboard and mouse events through the
  // manager, to the objects interested in them: what sample() kept, in the
  // order it came, then what is pending now, then the held keys and buttons.
  virtual Outcome readFrame(const Manager &manager) = 0;

 protected:
  static void sendMouse(const Manager &manager, EventMouseAction action, Mouse::Button button, Vector cell,
                        int64_t time);
};

}  // namespace ts

#endif
