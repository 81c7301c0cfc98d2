#include <tessera/network/EventNetwork.h>

#include <tessera/core/LogManager.h>

namespace ts {

EventNetwork::EventNetwork(int label) : m_label(UNDEFINED_NETWORK), m_socket_index(-1), m_bytes(0), m_message(nullptr) {
  setType(NETWORK_EVENT);
  setLabel(label);
}

void EventNetwork::setLabel(int label) {
  if (label < -1 || label > 3) {
    LogManager::getInstance().writeLog("EventNetwork::setLabel(): Undefined type (%d).", label);
    m_label = UNDEFINED_NETWORK;
    return;
  }
  m_label = label;
}

}  // namespace ts
