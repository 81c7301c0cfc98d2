/// @file
/// EventRegistry: which manager keeps the interest in which event type.
#ifndef TS_EVENT_REGISTRY_H
#define TS_EVENT_REGISTRY_H

#include <string>

namespace ts {

class EventHandler;
class Manager;

/// Which manager keeps the interest in which event type: the game manager
/// "ts-step", the input manager "ts-keyboard" and "ts-mouse", the network
/// manager the network family, the world manager every other type. The table
/// lives here, so the world module, where objects register interest, needs
/// none of the managers above it. Each of those managers attaches itself
/// when it is created; interest in one of its types registered before then
/// waits here and moves to it, in order, when it attaches. Nothing depends
/// on the order in which the program's static objects are made.
class EventRegistry {
 public:
  /// What the routing calls return for a type the world manager keeps.
  static const int NOT_CLAIMED = -2;

  /// Makes manager (not owned) the keeper of its kind's event types (by its
  /// type name) and hands it the interest waiting for it. The manager detaches
  /// itself when it is destroyed.
  static void attach(Manager &manager);
  /// Forgets manager if it is the attached one of its kind.
  static void detach(const Manager &manager);
  /// The keeping manager's registerInterest (0 or -1); for a manager not
  /// attached yet the interest waits (0; -1 for a null handler). NOT_CLAIMED
  /// for the world's types, which the caller registers itself.
  static int registerInterest(EventHandler *handler, const std::string &event_type);
  /// The keeping manager's unregisterInterest (0 or -1), also for waiting
  /// interest (-1 when none waits); NOT_CLAIMED for the world's types.
  static int unregisterInterest(EventHandler *handler, const std::string &event_type);

 private:
  /// The attached manager that keeps the type, or null.
  static Manager *managerFor(const std::string &event_type);
};

}  // namespace ts

#endif
