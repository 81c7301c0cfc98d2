// Turns window events and held keys and buttons into keyboard and mouse events.
// When the display draws in the terminal, keys and mouse reports are read
// from the terminal instead, and arrive as the same events.
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

class TerminalReader;

class InputManager : public Manager {
 public:
  static InputManager &getInstance();
  ~InputManager() override;

  int startUp() override;
  void shutDown() override;
  // True for "ts-keyboard" and "ts-mouse".
  bool isValid(std::string event_type) const override;
  // Sends the window's pending events, then the held buttons and keys.
  void getInput();
  // A keyboard event with the engine key of a key event (action not set).
  EventKeyboard toEventKeyboard(const sf::Event &event) const;
  // Whether the player closed the window since the manager started: the
  // game can then tell a closed window from other ends of the game loop.
  bool isWindowClosed() const { return m_window_closed; }

 private:
  InputManager();
  int startTerminal();
  void readTerminal();
  bool readQueue();
  void sendHeldButtons() const;
  void sendHeldKeys() const;

  std::unique_ptr<TerminalReader> m_p_terminal;  // while reading the terminal
  bool m_window_closed = false;
};

// The engine key of a window-library key code, or UNDEFINED_KEY.
Keyboard::Key toEngineKey(int library_key);
// A readable name of a window-library key code ("Delete", "Numpad 5", ...).
std::string libraryKeyName(int library_key);

}  // namespace ts

#endif
