#include <tessera/core/EventRegistry.h>

#include <unordered_map>

namespace ts {

namespace {

using Claims = std::unordered_map<std::string, EventRegistry::ManagerAccess>;

// Built at its first use, which may come from another file's static claim.
Claims &claims() {
  static Claims table;
  return table;
}

}  // namespace

bool EventRegistry::claim(const std::vector<std::string> &event_types, ManagerAccess access) {
  for (const std::string &event_type : event_types) claims()[event_type] = access;
  return true;
}

Manager *EventRegistry::managerFor(const std::string &event_type) {
  const Claims &table = claims();
  auto found = table.find(event_type);
  return found != table.end() ? &found->second() : nullptr;
}

}  // namespace ts
