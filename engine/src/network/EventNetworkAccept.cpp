#include <tessera/network/EventNetworkAccept.h>

namespace ts {

EventNetworkAccept::EventNetworkAccept(int label) : EventNetwork(label) { setType(NETWORK_ACCEPT_EVENT); }

}  // namespace ts
