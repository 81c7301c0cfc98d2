// TCP connections as engine events.
#ifndef TS_NETWORK_MANAGER_H
#define TS_NETWORK_MANAGER_H

#include "Manager.h"

namespace ts {

class NetworkManager : public Manager {
 public:
  static NetworkManager &getInstance();

  int startUp() override;
  void shutDown() override;
  bool isValid(std::string event_type) const override;

  bool isServer() const;
  int accept();
  int close(int socket);
  bool isConnected(int socket) const;
  int sendQueued();

 private:
  NetworkManager();
};

}  // namespace ts

#endif
