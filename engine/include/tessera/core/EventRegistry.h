// Which manager keeps the interest in which event type. Each manager claims
// its types from its own source file when the program starts (the input
// manager "ts-keyboard" and "ts-mouse", the game manager "ts-step", the
// network manager the network family); objects take this table's answer and
// give every unclaimed type to the world manager, so the world module does
// not depend on the managers above it.
#ifndef TS_EVENT_REGISTRY_H
#define TS_EVENT_REGISTRY_H

#include <string>
#include <vector>

namespace ts {

class Manager;

class EventRegistry {
 public:
  using ManagerAccess = Manager &(*)();

  // Returns true, so that a claim can initialise a static constant.
  static bool claim(const std::vector<std::string> &event_types, ManagerAccess access);
  // The manager that claimed the type, or null.
  static Manager *managerFor(const std::string &event_type);
};

}  // namespace ts

#endif
