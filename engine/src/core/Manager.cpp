#include <tessera/core/Manager.h>

#include <utility>
#include <vector>

#include <tessera/core/Event.h>
#include <tessera/core/LogManager.h>
#include <tessera/world/Object.h>

namespace ts {

Manager::Manager() : m_type("Manager"), m_event_count(0), m_is_started(false) {}

Manager::~Manager() { m_is_started = false; }

bool Manager::isValid(std::string) const { return false; }

int Manager::startUp() {
  if (m_is_started) {
    LogManager::getInstance().writeLog(1, "Manager::startUp(): Warning! %s already started.", m_type.c_str());
    return 0;
  }
  m_is_started = true;
  return 0;
}

void Manager::shutDown() {
  if (!m_is_started) {
    LogManager::getInstance().writeLog(1, "Manager::shutDown(): Warning! %s not started.", m_type.c_str());
    return;
  }
  m_is_started = false;
}

int Manager::onEvent(const Event *event) const {
  LogManager &log = LogManager::getInstance();
  std::string type = event->getType();
  if (type == UNDEFINED_EVENT) {
    log.writeLog(1, "Manager(%s)::onEvent(): Warning! Event type %s is undefined.", m_type.c_str(), type.c_str());
    return 0;
  }
  if (!isValid(type)) {
    log.writeLog(1, "Manager(%s)::onEvent(): Error! Event type %s not valid.", m_type.c_str(), type.c_str());
    return 0;
  }
  // Event types are distinct, so one entry at most holds this type. The walk
  // ends after it: a handler that withdraws the type's last interest and
  // registers it again moves the entry behind the others, where a continued
  // search would hand the same event out a second time.
  int i = 0;
  while (i < m_event_count && m_event[i] != type) ++i;
  if (i == m_event_count) return 0;
  // Walk a snapshot so handlers may change interest; the serials let the
  // walk skip objects that an earlier handler destroyed.
  std::vector<std::pair<Object *, uint64_t>> snapshot;
  snapshot.reserve(static_cast<size_t>(m_obj_list[i].getCount()));
  for (int j = 0; j < m_obj_list[i].getCount(); ++j) {
    Object *object = m_obj_list[i][j];
    snapshot.emplace_back(object, object->getSerial());
  }
  int count = 0;
  for (const auto &entry : snapshot) {
    if (!Object::isLive(entry.first, entry.second)) continue;
    if (!entry.first->isActive()) continue;
    entry.first->eventHandler(event);
    ++count;
  }
  return count;
}

static bool listHolds(const ObjectList &list, const Object *object) {
  for (int i = 0; i < list.getCount(); ++i) {
    if (list[i] == object) return true;
  }
  return false;
}

int Manager::registerInterest(Object *object, std::string event_type) {
  LogManager &log = LogManager::getInstance();
  if (!isValid(event_type)) {
    log.writeLog("Manager(%s)::registerInterest(): Event '%s' not valid for this Manager", m_type.c_str(),
                 event_type.c_str());
    return -1;
  }
  for (int i = 0; i < m_event_count; ++i) {
    if (m_event[i] != event_type) continue;
    if (listHolds(m_obj_list[i], object)) {
      log.writeLog(1, "Manager::registerInterest(): Warning! Not adding id %d (%s) twice for event %s.",
                   object->getId(), object->getType().c_str(), event_type.c_str());
      return 0;
    }
    return m_obj_list[i].insert(object);
  }
  if (m_event_count == MAX_EVENTS) return -1;
  m_event[m_event_count] = event_type;
  m_obj_list[m_event_count].clear();
  if (m_obj_list[m_event_count].insert(object) != 0) return -1;
  ++m_event_count;
  return 0;
}

int Manager::unregisterInterest(Object *object, std::string event_type) {
  for (int i = 0; i < m_event_count; ++i) {
    if (m_event[i] != event_type) continue;
    if (m_obj_list[i].remove(object) != 0) return -1;
    if (m_obj_list[i].isEmpty()) {
      for (int j = i; j < m_event_count - 1; ++j) {
        m_event[j] = m_event[j + 1];
        m_obj_list[j] = m_obj_list[j + 1];
      }
      --m_event_count;
    }
    return 0;
  }
  return -1;
}

}  // namespace ts
