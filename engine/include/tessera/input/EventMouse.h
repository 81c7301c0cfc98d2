// A mouse click, held button or move; the position is in character cells.
#ifndef TS_EVENT_MOUSE_H
#define TS_EVENT_MOUSE_H

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

 private:
  EventMouseAction m_mouse_action;
  Mouse::Button m_mouse_button;
  Vector m_mouse_xy;
};

}  // namespace ts

#endif
