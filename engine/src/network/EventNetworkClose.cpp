#include <tessera/network/EventNetworkClose.h>

namespace ts {

EventNetworkClose::EventNetworkClose(int label) : EventNetwork(label) { setType(NETWORK_CLOSE_EVENT); }

}  // namespace ts
