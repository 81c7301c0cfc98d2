#include "input/InputSource.h"

#include <tessera/core/Manager.h>

namespace ts {

void InputSource::sendMouse(const Manager &manager, EventMouseAction action, Mouse::Button button, Vector cell,
                            int64_t time) {
  EventMouse event;
  event.setMouseAction(action);
  event.setMouseButton(button);
  event.setMousePosition(cell);
  event.setTime(time);
  manager.onEvent(&event);
}

}  // namespace ts
