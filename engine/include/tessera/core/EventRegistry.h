// Which manager keeps the interest in which event type. Each manager claims
// its types when it is created (the input manager "ts-keyboard" and
// "ts-mouse", the network manager the network family), and the game manager
// claims "ts-step" and creates those two when it is created, so the claims
// are in place before a game makes its first object. Objects take this
// table's answer and give every unclaimed type to the world manager, so the
// world module does not depend on the managers above it. A manager's claims
// end with it.
#ifndef TS_EVENT_REGISTRY_H
#define TS_EVENT_REGISTRY_H

#include <string>
#include <vector>

namespace ts {

class Manager;

class EventRegistry {
 public:
  static void claim(const std::vector<std::string> &event_types, Manager &manager);
  // Withdraws every claim of the manager.
  static void release(const Manager &manager);
  // The manager that claimed the type, or null.
  static Manager *managerFor(const std::string &event_type);
};

}  // namespace ts

#endif
