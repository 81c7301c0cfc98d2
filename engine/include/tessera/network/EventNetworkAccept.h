/// @file
/// EventNetworkAccept, "ts-network-accept".
#ifndef TS_EVENT_NETWORK_ACCEPT_H
#define TS_EVENT_NETWORK_ACCEPT_H

#include <tessera/network/EventNetwork.h>

namespace ts {

/// Sent by the network manager, to objects registered for
/// NETWORK_ACCEPT_EVENT, when it accepts a connection; getSocketIndex() is
/// the new socket.
class EventNetworkAccept : public EventNetwork {
 public:
  /// An event of type NETWORK_ACCEPT_EVENT with label (NETWORK_ACCEPT).
  explicit EventNetworkAccept(int label);
};

}  // namespace ts

#endif
