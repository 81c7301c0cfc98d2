// Sent by the network manager when a connection is accepted.
#ifndef TS_EVENT_NETWORK_ACCEPT_H
#define TS_EVENT_NETWORK_ACCEPT_H

#include <tessera/network/EventNetwork.h>

namespace ts {

class EventNetworkAccept : public EventNetwork {
 public:
  explicit EventNetworkAccept(int label);
};

}  // namespace ts

#endif
