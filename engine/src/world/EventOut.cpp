#include <tessera/world/EventOut.h>

namespace ts {

EventOut::EventOut() { setType(OUT_EVENT); }

}  // namespace ts
