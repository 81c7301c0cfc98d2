#include <tessera/core/Event.h>

namespace ts {

Event::Event() : m_event_type(UNDEFINED_EVENT) {}
Event::~Event() {}

namespace {

const std::vector<std::string> &networkEventTypes() {
  static const std::vector<std::string> family = {NETWORK_EVENT,          NETWORK_ACCEPT_EVENT,    NETWORK_CLOSE_EVENT,
                                                  NETWORK_CONNECT_EVENT,  NETWORK_CREATE_EVENT,    NETWORK_DELETE_EVENT,
                                                  NETWORK_SYNC_EVENT,     NETWORK_GAME_OVER_EVENT, CUSTOM_NETWORK_EVENT,
                                                  KEYBOARD_NETWORK_EVENT, MOUSE_NETWORK_EVENT};
  return family;
}

}  // namespace

bool isNetworkEventType(const std::string &event_type) {
  for (const std::string &name : networkEventTypes())
    if (name == event_type) return true;
  return false;
}

}  // namespace ts
