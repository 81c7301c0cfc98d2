/// @file
/// EventMouse, "ts-mouse", mouse actions and buttons.
#ifndef TS_EVENT_MOUSE_H
#define TS_EVENT_MOUSE_H

#include <cstdint>

#include <tessera/core/Event.h>
#include <tessera/core/Vector.h>

namespace ts {

/// What the mouse did: a button went down (CLICKED, once), is held (PRESSED,
/// every frame), or the pointer moved (MOVED).
enum EventMouseAction {
  UNDEFINED_MOUSE_ACTION = -1,
  CLICKED,
  PRESSED,
  MOVED,
};

/// The engine's mouse buttons.
namespace Mouse {
/// A mouse button; UNDEFINED_MOUSE_BUTTON for moves and unknown buttons.
enum Button {
  UNDEFINED_MOUSE_BUTTON = -1,
  LEFT,
  RIGHT,
  MIDDLE,
};
}  // namespace Mouse

/// A mouse click, held button or move; the position is in character cells of
/// the window. The input manager hands one to every object registered for
/// MOUSE_EVENT.
class EventMouse : public Event {
 public:
  /// No action, no button, at (0, 0), stamped with the time now.
  EventMouse();
  /// Sets the action.
  void setMouseAction(EventMouseAction action) { m_mouse_action = action; }
  /// The action.
  EventMouseAction getMouseAction() const { return m_mouse_action; }
  /// Sets the button.
  void setMouseButton(Mouse::Button button) { m_mouse_button = button; }
  /// The button.
  Mouse::Button getMouseButton() const { return m_mouse_button; }
  /// Sets the position (cells of the window).
  void setMousePosition(Vector position) { m_mouse_xy = position; }
  /// The pointer position in cells of the window (view cells, not world).
  Vector getMousePosition() const { return m_mouse_xy; }
  /// When the engine received the mouse input, in microseconds on the clock
  /// of ts::monotonicMicroseconds(); a held button (PRESSED) carries the time
  /// of the frame's poll, an event made by the game the time it was made.
  int64_t getTime() const { return m_time; }
  /// Sets the time, in microseconds on the monotonicMicroseconds() clock.
  void setTime(int64_t microseconds) { m_time = microseconds; }

 private:
  EventMouseAction m_mouse_action;
  Mouse::Button m_mouse_button;
  Vector m_mouse_xy;
  int64_t m_time;
};

}  // namespace ts

#endif
