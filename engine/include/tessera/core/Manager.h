// Base of every engine manager: type name, started flag and event interest.
#ifndef TS_MANAGER_H
#define TS_MANAGER_H

#include <string>

#include <tessera/core/ObjectList.h>

namespace ts {

class Event;
class Object;

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
  int onEvent(const Event *event) const;
  int registerInterest(Object *object, std::string event_type);
  int unregisterInterest(Object *object, std::string event_type);

  Manager(const Manager &) = delete;
  Manager &operator=(const Manager &) = delete;

 private:
  std::string m_type;
  int m_event_count;
  std::string m_event[MAX_EVENTS];
  ObjectList m_obj_list[MAX_EVENTS];
  bool m_is_started;
};

}  // namespace ts

#endif
