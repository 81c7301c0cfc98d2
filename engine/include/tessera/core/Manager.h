// Base of every engine manager: type name, started flag and event interest.
#ifndef TS_MANAGER_H
#define TS_MANAGER_H

#include <set>
#include <string>
#include <vector>

namespace ts {

class Event;
class EventHandler;

const int MAX_EVENTS = 100;

class Manager {
 public:
  Manager();
  virtual bool isValid(std::string event_type) const;
  virtual ~Manager();
  virtual int startUp();
  virtual void shutDown();

  std::string getType() const { return m_type; }
  void setType(std::string type) { m_type = type; }
  bool isStarted() const { return m_is_started; }

  // Hands the event to every active interested object; returns how many got it.
  /// An event that reaches no one (it has no type, this manager does not
  /// keep its type, or no object is interested in it) gets one log line per
  /// manager and type, the first time.
  int onEvent(const Event *event) const;
  // Objects are event handlers; a handler is kept once per event type.
  int registerInterest(EventHandler *handler, std::string event_type);
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
