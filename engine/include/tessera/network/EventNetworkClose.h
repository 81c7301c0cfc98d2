/// @file
/// EventNetworkClose, "ts-network-close".
#ifndef TS_EVENT_NETWORK_CLOSE_H
#define TS_EVENT_NETWORK_CLOSE_H

#include <tessera/network/EventNetwork.h>

namespace ts {

/// Sent by the network manager, to objects registered for
/// NETWORK_CLOSE_EVENT, when a connection is closed (by either side);
/// getSocketIndex() is the closed socket.
class EventNetworkClose : public EventNetwork {
 public:
  /// An event of type NETWORK_CLOSE_EVENT with label (NETWORK_CLOSE).
  explicit EventNetworkClose(int label);
};

}  // namespace ts

#endif
