#include <tessera/core/Manager.h>

#include <algorithm>

#include <tessera/core/Event.h>
#include <tessera/core/EventHandler.h>
#include <tessera/core/LogManager.h>

namespace ts {

Manager::Manager() : m_type("Manager"), m_is_started(false) {}

Manager::~Manager() { m_is_started = false; }

bool Manager::isValid(std::string) const { return false; }

int Manager::startUp() {
  if (m_is_started) {
    LogManager::getInstance().writeLog(LOG_ROUTINE, "Manager::startUp(): Warning! %s already started.", m_type.c_str());
    return 0;
  }
  m_is_started = true;
  return 0;
}

void Manager::shutDown() {
  if (!m_is_started) {
    LogManager::getInstance().writeLog(LOG_ROUTINE, "Manager::shutDown(): Warning! %s not started.", m_type.c_str());
    return;
  }
  m_is_started = false;
}

int Manager::onEvent(const Event *event) const {
  LogManager &log = LogManager::getInstance();
  std::string type = event->getType();
  if (type == UNDEFINED_EVENT) {
    log.writeLog(LOG_ROUTINE, "Manager(%s)::onEvent(): Warning! Event type %s is undefined.", m_type.c_str(),
                 type.c_str());
    logUnheard(type, "it has no type (setType() was never called)");
    return 0;
  }
  if (!isValid(type)) {
    log.writeLog(LOG_ROUTINE, "Manager(%s)::onEvent(): Error! Event type %s not valid.", m_type.c_str(), type.c_str());
    logUnheard(type, "this manager keeps no interest in it (a game's own types go through the WorldManager)");
    return 0;
  }
  // Event types are distinct, so one entry at most holds this type. The walk
  // ends after it: a handler that withdraws the type's last interest and
  // registers it again moves the entry behind the others, where a continued
  // search would hand the same event out a second time.
  auto interest = findInterest(type);
  if (interest == m_interests.end()) {
    logUnheard(type, "no object is interested in it");
    return 0;
  }
  // Walk a snapshot so handlers may change interest or destroy handlers.
  LiveSnapshot<EventHandler> snapshot;
  snapshot.reserve(interest->handlers.size());
  for (EventHandler *handler : interest->handlers) snapshot.add(handler);
  int count = 0;
  snapshot.forEachLive([&](EventHandler *handler) {
    if (!handler->isActive()) return;
    handler->eventHandler(event);
    ++count;
  });
  return count;
}

void Manager::logUnheard(const std::string &type, const char *why) const {
  if (!m_unheard_types.insert(type).second) return;
  LogManager::getInstance().writeLog("Manager(%s)::onEvent(): Warning! Event '%s' went to no one: %s.", m_type.c_str(),
                                     type.c_str(), why);
}

std::vector<Manager::Interest>::iterator Manager::findInterest(const std::string &event_type) {
  return std::find_if(m_interests.begin(), m_interests.end(),
                      [&](const Interest &interest) { return interest.event_type == event_type; });
}

std::vector<Manager::Interest>::const_iterator Manager::findInterest(const std::string &event_type) const {
  return std::find_if(m_interests.begin(), m_interests.end(),
                      [&](const Interest &interest) { return interest.event_type == event_type; });
}

int Manager::registerInterest(EventHandler *handler, std::string event_type) {
  LogManager &log = LogManager::getInstance();
  if (!isValid(event_type)) {
    log.writeLog("Manager(%s)::registerInterest(): Event '%s' not valid for this Manager", m_type.c_str(),
                 event_type.c_str());
    return -1;
  }
  if (!handler) return -1;
  auto interest = findInterest(event_type);
  if (interest != m_interests.end()) {
    std::vector<EventHandler *> &handlers = interest->handlers;
    if (std::find(handlers.begin(), handlers.end(), handler) != handlers.end()) {
      log.writeLog(LOG_ROUTINE, "Manager::registerInterest(): Warning! Not adding id %d (%s) twice for event %s.",
                   handler->getId(), handler->getType().c_str(), event_type.c_str());
      return 0;
    }
    handlers.push_back(handler);
    return 0;
  }
  if (static_cast<int>(m_interests.size()) == MAX_EVENTS) return -1;
  m_interests.push_back(Interest{event_type, {handler}});
  return 0;
}

int Manager::unregisterInterest(EventHandler *handler, std::string event_type) {
  auto interest = findInterest(event_type);
  if (interest == m_interests.end()) return -1;
  std::vector<EventHandler *> &handlers = interest->handlers;
  auto found = std::find(handlers.begin(), handlers.end(), handler);
  if (found == handlers.end()) return -1;
  handlers.erase(found);
  if (handlers.empty()) m_interests.erase(interest);
  return 0;
}

}  // namespace ts
