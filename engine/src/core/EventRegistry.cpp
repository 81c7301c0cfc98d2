#include <tessera/core/EventRegistry.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include <tessera/core/Event.h>
#include <tessera/core/Manager.h>

namespace ts {

namespace {

// The type name of the manager that keeps an event type, or null for the
// world manager.
const char *keeperOf(const std::string &event_type) {
  if (event_type == STEP_EVENT) return "GameManager";
  if (event_type == KEYBOARD_EVENT || event_type == MOUSE_EVENT) return "InputManager";
  if (isNetworkEventType(event_type)) return "NetworkManager";
  return nullptr;
}

using Interest = std::pair<EventHandler *, std::string>;

struct Registry {
  std::map<std::string, Manager *> attached;  // by the manager's type name
  std::vector<Interest> waiting;              // for managers not attached yet, in order
};

Registry &registry() {
  static Registry table;
  return table;
}

}  // namespace

void EventRegistry::attach(Manager &manager) {
  Registry &table = registry();
  table.attached[manager.getType()] = &manager;
  std::vector<Interest> waiting;
  waiting.swap(table.waiting);
  for (const Interest &interest : waiting) {
    if (manager.getType() == keeperOf(interest.second))
      manager.registerInterest(interest.first, interest.second);
    else
      table.waiting.push_back(interest);
  }
}

void EventRegistry::detach(const Manager &manager) {
  auto &attached = registry().attached;
  auto found = attached.find(manager.getType());
  if (found != attached.end() && found->second == &manager) attached.erase(found);
}

Manager *EventRegistry::managerFor(const std::string &event_type) {
  const char *keeper = keeperOf(event_type);
  if (!keeper) return nullptr;
  const auto &attached = registry().attached;
  auto found = attached.find(keeper);
  return found != attached.end() ? found->second : nullptr;
}

int EventRegistry::registerInterest(EventHandler *handler, const std::string &event_type) {
  if (!keeperOf(event_type)) return NOT_CLAIMED;
  if (Manager *manager = managerFor(event_type)) return manager->registerInterest(handler, event_type);
  if (!handler) return -1;
  std::vector<Interest> &waiting = registry().waiting;
  const Interest interest(handler, event_type);
  if (std::find(waiting.begin(), waiting.end(), interest) == waiting.end()) waiting.push_back(interest);
  return 0;
}

int EventRegistry::unregisterInterest(EventHandler *handler, const std::string &event_type) {
  if (!keeperOf(event_type)) return NOT_CLAIMED;
  if (Manager *manager = managerFor(event_type)) return manager->unregisterInterest(handler, event_type);
  std::vector<Interest> &waiting = registry().waiting;
  auto found = std::find(waiting.begin(), waiting.end(), Interest(handler, event_type));
  if (found == waiting.end()) return -1;
  waiting.erase(found);
  return 0;
}

}  // namespace ts
