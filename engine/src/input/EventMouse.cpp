#include <tessera/input/EventMouse.h>

#include <tessera/system/Clock.h>

namespace ts {

EventMouse::EventMouse()
    : m_mouse_action(UNDEFINED_MOUSE_ACTION),
      m_mouse_button(Mouse::UNDEFINED_MOUSE_BUTTON),
      m_time(monotonicMicroseconds()) {
  setType(MOUSE_EVENT);
}

}  // namespace ts
