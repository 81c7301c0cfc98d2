/// @file
/// InputManager, keyboard and mouse input.
#ifndef TS_INPUT_MANAGER_H
#define TS_INPUT_MANAGER_H

#include <memory>
#include <string>

#include <tessera/core/Manager.h>
#include <tessera/input/EventKeyboard.h>

namespace sf {
class Event;
}

namespace ts {

class InputSource;

/// Turns the player's input into keyboard and mouse events: the window's
/// events and held keys and buttons, or, when the display draws in the
/// terminal, the keys and mouse reports the terminal sends, as the same
/// events. Where it reads is chosen once, at start-up; headless it reads
/// nothing.
class InputManager : public Manager {
 public:
  /// The one input manager.
  static InputManager &getInstance();
  /// Gives the window or terminal input back.
  ~InputManager() override;

  /// Starts reading the display's window or terminal (the display must be
  /// started first) or, headless, nothing. 0, or -1 when already started, the
  /// display is not started, or the input cannot be had (each logged).
  int startUp() override;
  /// Stops reading input and lets the window or terminal input go.
  void shutDown() override;
  /// True for "ts-keyboard" and "ts-mouse".
  bool isValid(std::string event_type) const override;
  /// Sends this frame's input: the events kept by sampleInput() since the
  /// last frame, in the order they came, then the window's pending events,
  /// then the held buttons and keys; or likewise what the terminal sent.
  /// Every event carries the time the engine received it (getTime()).
  void getInput();
  /// Reads what is pending from the window or terminal now, stamps each
  /// event with the time it is read and keeps it for the next getInput();
  /// delivers nothing. The game loop calls it about every millisecond while
  /// it sleeps away the rest of a frame. Nothing to do headless.
  void sampleInput();
  /// Whether there is a window or terminal to read (false headless or
  /// before start-up): the loop then sleeps without sampling.
  bool hasInputSource() const { return m_p_source != nullptr; }
  /// A keyboard event with the engine key of a window key event (action not set).
  EventKeyboard toEventKeyboard(const sf::Event &event) const;
  /// Whether the player closed the window since the manager started (closing
  /// also ends the game): the game can then tell a closed window from other
  /// ends of the game loop.
  bool isWindowClosed() const { return m_window_closed; }

 private:
  InputManager();

  std::unique_ptr<InputSource> m_p_source;  // while started, unless headless
  bool m_window_closed = false;
};

}  // namespace ts

#endif
