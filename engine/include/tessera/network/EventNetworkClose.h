// Sent by the network manager when a connection is closed.
#ifndef TS_EVENT_NETWORK_CLOSE_H
#define TS_EVENT_NETWORK_CLOSE_H

#include <tessera/network/EventNetwork.h>

namespace ts {

class EventNetworkClose : public EventNetwork {
 public:
  explicit EventNetworkClose(int label);
};

}  // namespace ts

#endif
