#include "NetworkManager.h"

#include "Event.h"

namespace ts {

NetworkManager::NetworkManager() { setType("NetworkManager"); }

NetworkManager &NetworkManager::getInstance() {
  static NetworkManager instance;
  return instance;
}

int NetworkManager::startUp() { return Manager::startUp(); }
void NetworkManager::shutDown() { Manager::shutDown(); }
bool NetworkManager::isValid(std::string event_type) const { return isNetworkEventType(event_type); }
bool NetworkManager::isServer() const { return false; }
int NetworkManager::accept() { return -2; }
int NetworkManager::close(int) { return 0; }
bool NetworkManager::isConnected(int) const { return false; }
int NetworkManager::sendQueued() { return 0; }

}  // namespace ts
