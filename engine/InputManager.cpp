#include "InputManager.h"

#include "Event.h"

namespace ts {

InputManager::InputManager() { setType("InputManager"); }

InputManager &InputManager::getInstance() {
  static InputManager instance;
  return instance;
}

bool InputManager::isValid(std::string event_type) const {
  return event_type == KEYBOARD_EVENT || event_type == MOUSE_EVENT;
}

int InputManager::startUp() { return Manager::startUp(); }
void InputManager::shutDown() { Manager::shutDown(); }

// Without a window there are no events to read.
void InputManager::getInput() {}

}  // namespace ts
