#include <tessera/core/EventRegistry.h>

#include <iterator>
#include <unordered_map>

namespace ts {

namespace {

using Claims = std::unordered_map<std::string, Manager *>;

// Made by the first claim, which comes from a manager's constructor: the
// table then outlives every manager that claimed a type.
Claims &claims() {
  static Claims table;
  return table;
}

}  // namespace

void EventRegistry::claim(const std::vector<std::string> &event_types, Manager &manager) {
  for (const std::string &event_type : event_types) claims()[event_type] = &manager;
}

void EventRegistry::release(const Manager &manager) {
  Claims &table = claims();
  for (auto claim = table.begin(); claim != table.end();)
    claim = claim->second == &manager ? table.erase(claim) : std::next(claim);
}

Manager *EventRegistry::managerFor(const std::string &event_type) {
  const Claims &table = claims();
  auto found = table.find(event_type);
  return found != table.end() ? found->second : nullptr;
}

}  // namespace ts
