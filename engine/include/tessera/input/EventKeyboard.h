/// @file
/// EventKeyboard, "ts-keyboard", the engine's keys and keyboard actions.
#ifndef TS_EVENT_KEYBOARD_H
#define TS_EVENT_KEYBOARD_H

#include <cstdint>

#include <tessera/core/Event.h>

namespace ts {

/// The engine's own key numbering.
namespace Keyboard {
// clang-format off
/// The keys in rows, in the order of their numbers (SPACE is 0, A is 36,
/// NUM1 is 62); UNDEFINED_KEY for a key the engine does not know.
enum Key : int32_t {
  UNDEFINED_KEY = -1,
  SPACE, RETURN, ESCAPE, TAB, LEFTARROW, RIGHTARROW, UPARROW, DOWNARROW,
  PAUSE, MINUS, PLUS, TILDE, PERIOD, COMMA, SLASH, EQUAL, BACKSLASH,
  MULTIPLY, QUOTE, SEMICOLON, LEFTCONTROL, RIGHTCONTROL, LEFTSHIFT, RIGHTSHIFT,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
  A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
  NUM1, NUM2, NUM3, NUM4, NUM5, NUM6, NUM7, NUM8, NUM9, NUM0,
  BACKSPACE,
  UNUSED_KEY_73,  // no key produces this value
  LEFTBRACKET, RIGHTBRACKET,
};
// clang-format on
}  // namespace Keyboard

/// What happened to the key: pressed or released (once each), or held down
/// (KEY_DOWN, every frame while held).
enum EventKeyboardAction {
  UNDEFINED_KEYBOARD_ACTION = -1,
  KEY_PRESSED,
  KEY_RELEASED,
  KEY_DOWN,
};

/// A key press, release or hold, in the engine's own key numbering. The
/// input manager hands one to every object registered for KEYBOARD_EVENT.
class EventKeyboard : public Event {
 public:
  /// UNDEFINED_KEY, UNDEFINED_KEYBOARD_ACTION, stamped with the time now.
  EventKeyboard();
  /// Sets the key.
  virtual void setKey(Keyboard::Key key) { m_key_val = key; }
  /// The key.
  virtual Keyboard::Key getKey() const { return m_key_val; }
  /// Sets the action.
  virtual void setKeyboardAction(EventKeyboardAction action) { m_keyboard_action = action; }
  /// The action.
  virtual EventKeyboardAction getKeyboardAction() const { return m_keyboard_action; }
  /// When the engine received the key: microseconds on the clock of
  /// ts::monotonicMicroseconds(), the one the game loop runs on. A press or
  /// release read while the loop slept carries the moment it was read, not
  /// the frame that delivers it; a held key (KEY_DOWN) carries the time of
  /// the frame's poll. An event made by the game carries the time it was made.
  int64_t getTime() const { return m_time; }
  /// Sets the time, in microseconds on the monotonicMicroseconds() clock.
  void setTime(int64_t microseconds) { m_time = microseconds; }

 private:
  Keyboard::Key m_key_val;
  EventKeyboardAction m_keyboard_action;
  int64_t m_time;
};

}  // namespace ts

#endif
