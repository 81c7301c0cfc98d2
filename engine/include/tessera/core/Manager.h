/// @file
/// Manager, the base of every engine manager.
#ifndef TS_MANAGER_H
#define TS_MANAGER_H

#include <set>
#include <string>
#include <vector>

/// The Tessera engine: every engine class, enumeration and free function.
namespace ts {

class Event;
class EventHandler;

/// The most event types one manager keeps interest in.
const int MAX_EVENTS = 100;

/// Base of every engine manager: type name, started flag and event interest.
/// Each manager is a singleton reached through its getInstance(); objects
/// register their interest in event types with the manager that keeps that
/// type (see EventRegistry) and are handed those events through onEvent().
class Manager {
 public:
  /// Not started; type "Manager".
  Manager();
  /// Whether this manager keeps interest in event_type. The base keeps none
  /// (false); each manager names its own types.
  virtual bool isValid(std::string event_type) const;
  /// Forgets the interest held; the handlers are not touched.
  virtual ~Manager();
  /// Marks the manager started and returns 0. Already started: logs
  /// "Manager::startUp(): Warning! <type> already started." (level 1) and
  /// returns 0. Managers that override it return -1 on failure with a log line.
  virtual int startUp();
  /// Marks the manager stopped. Not started: logs "Manager::shutDown():
  /// Warning! <type> not started." (level 1).
  virtual void shutDown();

  /// The manager's type name, its class name ("WorldManager", ...).
  std::string getType() const { return m_type; }
  /// Sets the type name (managers do so in their constructors).
  void setType(std::string type) { m_type = type; }
  /// True between a successful startUp() and shutDown().
  bool isStarted() const { return m_is_started; }

  /// Hands the event to every active handler registered for its type, in
  /// order of registration; returns how many got it. Handlers may register,
  /// unregister or be destroyed during the walk: one destroyed before its turn
  /// is skipped. An undefined type (level-1 warning) or one this manager does
  /// not keep (level-1 error) reaches nobody and returns 0. The event stays the
  /// caller's. An event that reaches no one (it has no type, this manager does
  /// not keep its type, or no object is interested in it) gets one log line
  /// per manager and type, the first time.
  int onEvent(const Event *event) const;
  /// Registers handler (not owned; it must unregister before it is destroyed,
  /// as Object does) for event_type; a handler is kept once per type. 0 on
  /// success or when already registered (level-1 warning); -1 for a null
  /// handler, when MAX_EVENTS types are already kept, or when the type is not
  /// valid for this manager (logged: "Manager(<type>)::registerInterest():
  /// Event '<event>' not valid for this Manager").
  int registerInterest(EventHandler *handler, std::string event_type);
  /// Withdraws handler's interest in event_type; -1 when it had none.
  int unregisterInterest(EventHandler *handler, std::string event_type);

  Manager(const Manager &) = delete;
  Manager &operator=(const Manager &) = delete;

 private:
  std::string m_type;
  // The handlers interested in one event type, in order of registration.
  struct Interest {
    std::string event_type;
    std::vector<EventHandler *> handlers;
  };
  std::vector<Interest> m_interests;  // at most MAX_EVENTS types, none empty
  std::vector<Interest>::iterator findInterest(const std::string &event_type);
  std::vector<Interest>::const_iterator findInterest(const std::string &event_type) const;
  bool m_is_started;
  // Event types already logged as delivered to no one.
  mutable std::set<std::string> m_unheard_types;
  void logUnheard(const std::string &type, const char *why) const;
};

}  // namespace ts

#endif
