#include <tessera/world/EventPath.h>

namespace ts {

// A search still running is the only status a sender never delivers, so a
// fresh event claims nothing about a result.
EventPath::EventPath() : m_status(1) { setType(PATH_EVENT); }

}  // namespace ts
