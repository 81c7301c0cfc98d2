// A mouse click, held button or move; the position is in character cells.
#ifndef TS_EVENT_MOUSE_H
#define TS_EVENT_MOUSE_H

#include <cstdint>

#include <tessera/core/Event.h>
#include <tessera/core/Vector.h>

namespace ts {

enum EventMouseAction {
  UNDEFINED_MOUSE_ACTION = -1,
  CLICKED,
  PRESSED,
  MOVED,
};

namespace Mouse {
enum Button {
  UNDEFINED_MOUSE_BUTTON = -1,
  LEFT,
  RIGHT,
  MIDDLE,
};
}  // namespace Mouse

class EventMouse : public Event {
 public:
  EventMouse();
  void setMouseAction(EventMouseAction action) { m_mouse_action = action; }
  EventMouseAction getMouseAction() const { return m_mouse_action; }
  void setMouseButton(Mouse::Button button) { m_mouse_button = button; }
  Mouse::Button getMouseButton() const { return m_mouse_button; }
  void setMousePosition(Vector position) { m_mouse_xy = position; }
  Vector getMousePosition() const { return m_mouse_xy; }
  /// When the engine received the mouse input, in microseconds on the clock
  /// of ts::monotonicMicroseconds(); a held button (PRESSED) carries the time
  /// of the frame's poll, an event made by the game the time it was made.
  int64_t getTime() const { return m_time; }
  void setTime(int64_t microseconds) { m_time = microseconds; }

 private:
  EventMouseAction m_mouse_action;
  Mouse::Button m_mouse_button;
  Vector m_mouse_xy;
  int64_t m_time;
};

}  // namespace ts

#endif
