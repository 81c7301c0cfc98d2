#include <tessera/core/EventHandler.h>

#include <unordered_set>

namespace ts {

namespace {

uint64_t s_next_serial = 1;

// Never destroyed: a handler may still be destroyed while the program's
// statics are being torn down.
std::unordered_set<uint64_t> &liveSerials() {
  static auto *live = new std::unordered_set<uint64_t>;
  return *live;
}

}  // namespace

EventHandler::EventHandler() : m_serial(s_next_serial++) { liveSerials().insert(m_serial); }

EventHandler::~EventHandler() { retire(); }

void EventHandler::retire() { liveSerials().erase(m_serial); }

bool EventHandler::isLive(uint64_t serial) { return liveSerials().count(serial) != 0; }

}  // namespace ts
