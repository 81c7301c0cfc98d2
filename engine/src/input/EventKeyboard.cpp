#include <tessera/input/EventKeyboard.h>

#include <tessera/system/Clock.h>

namespace ts {

EventKeyboard::EventKeyboard()
    : m_key_val(Keyboard::UNDEFINED_KEY),
      m_keyboard_action(UNDEFINED_KEYBOARD_ACTION),
      m_time(monotonicMicroseconds()) {
  setType(KEYBOARD_EVENT);
}

}  // namespace ts
