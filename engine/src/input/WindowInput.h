// The window's input: its queued events (key presses and releases, mouse
// moves and clicks, the close request), then the mouse buttons and the keys
// held down, polled every frame. Sampling between frames takes the queued
// events out early, each with the time it was taken, and the next frame
// delivers them first. The window is the display's, looked up each time, so
// the input never outlives it.
#ifndef TS_WINDOW_INPUT_H
#define TS_WINDOW_INPUT_H

#include <string>
#include <vector>

#include <tessera/input/EventKeyboard.h>

#include "input/InputSource.h"

namespace sf {
class Event;
class RenderWindow;
}  // namespace sf

namespace ts {

class WindowInput : public InputSource {
 public:
  WindowInput();
  ~WindowInput() override;
  // Switches the window's key repeat off: a held key is reported as held.
  int start() override;
  void stop() override;
  // Polls the window's queue; stops at a close request, so that what comes
  // after it stays queued as it would without sampling.
  void sample() override;
  Outcome readFrame(const Manager &manager) override;

 private:
  struct StampedEvent;

  Outcome deliverSampled(const Manager &manager);
  static Outcome readQueue(const Manager &manager, sf::RenderWindow &window);
  static Outcome deliver(const Manager &manager, const sf::Event &event, int64_t time);
  static void sendHeldButtons(const Manager &manager, const sf::RenderWindow &window, int64_t time);
  static void sendHeldKeys(const Manager &manager, int64_t time);

  std::vector<StampedEvent> m_sampled;  // taken from the queue since the last frame, in order
};

// A keyboard event with the engine key of a key event (action not set).
EventKeyboard toEventKeyboard(const sf::Event &event);
// The engine key of a window-library key code, or UNDEFINED_KEY.
Keyboard::Key toEngineKey(int library_key);
// A readable name of a window-library key code ("Delete", "Numpad 5", ...).
std::string libraryKeyName(int library_key);
// The keys polled every frame for KEY_DOWN events, in polling order.
std::vector<Keyboard::Key> heldKeyOrder();

}  // namespace ts

#endif
