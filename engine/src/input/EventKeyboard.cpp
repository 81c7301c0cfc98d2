#include <tessera/input/EventKeyboard.h>

namespace ts {

EventKeyboard::EventKeyboard() : m_key_val(Keyboard::UNDEFINED_KEY), m_keyboard_action(UNDEFINED_KEYBOARD_ACTION) {
  setType(KEYBOARD_EVENT);
}

}  // namespace ts
