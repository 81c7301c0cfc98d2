#include <tessera/world/SceneGraph.h>

#include <tessera/core/LogManager.h>

namespace ts {

namespace {

const char *typeText(const Object *object, std::string &holder) {
  holder = object->getType();
  return holder.c_str();
}

}  // namespace

bool SceneGraph::s_game_over = false;

SceneGraph::SceneGraph() {}

int SceneGraph::startUp() {
  m_type_map.clear();
  LogManager::getInstance().writeLog(LOG_ROUTINE, "Scenegraph configuration: GRID");
  return m_grid.startUp();
}

void SceneGraph::shutDown() {
  m_type_map.clear();
  m_grid.shutDown();
}

void SceneGraph::reindex() {
  for (int i = 0; i < m_objects.getCount(); ++i) {
    Object *object = m_objects[i];
    m_type_map[object->getType()].insert(object);
    if (object->isSolid()) m_grid.insertObject(object);
  }
}

ObjectList *SceneGraph::visibleList(int altitude) {
  if (altitude < 0 || altitude > MAX_ALTITUDE) return nullptr;
  return &m_visible_objects[altitude];
}

int SceneGraph::insertObject(Object *object) {
  LogManager &log = LogManager::getInstance();
  if (!object) return -1;
  if (!object->isActive()) return m_inactive_objects.insert(object);
  const int id = object->getId();
  if (m_objects.insert(object) != 0) {
    log.writeLog("SceneGraph::insertObject(): Error! unable to insert active Object (id %d)", id);
    return -1;
  }
  if (m_type_map[object->getType()].insert(object) != 0) {
    log.writeLog("SceneGraph::insertObject(): Error! unable to insert Object (id %d) into type map", id);
    return -1;
  }
  if (object->isSolid()) {
    if (m_solid_objects.insert(object) != 0) {
      log.writeLog("SceneGraph::insertObject(): Error! unable to insert solid Object (id %d)", id);
      return -1;
    }
    if (m_grid.insertObject(object) != 0) {
      log.writeLog("SceneGraph::insertObject(): Error! unable to add to Grid (id %d)", id);
      return -1;
    }
  }
  if (!object->isVisible()) return 0;
  ObjectList *visible = visibleList(object->getAltitude());
  if (!visible) {
    log.writeLog("SceneGraph::insertObject(): Warning! Altitude %d not in range [%d,%d]", object->getAltitude(), 0,
                 MAX_ALTITUDE);
    return -1;
  }
  if (visible->insert(object) != 0) {
    log.writeLog("SceneGraph::insertObject(): Error! unable to insert visible object (id %d)", id);
    return -1;
  }
  return 0;
}

int SceneGraph::removeFromType(Object *object) {
  auto found = m_type_map.find(object->getType());
  if (found == m_type_map.end()) return -1;
  return found->second.remove(object);
}

int SceneGraph::removeObject(Object *object) {
  if (!object) return -1;
  bool failed = false;
  if (!object->isActive()) {
    failed = m_inactive_objects.remove(object) != 0;
  } else {
    failed |= m_objects.remove(object) != 0;
    failed |= removeFromType(object) != 0;
    if (object->isVisible()) {
      ObjectList *visible = visibleList(object->getAltitude());
      failed |= !visible || visible->remove(object) != 0;
    }
    if (object->isSolid()) {
      failed |= m_solid_objects.remove(object) != 0;
      failed |= m_grid.removeObject(object) != 0;
    }
  }
  if (failed) {
    LogManager::getInstance().writeLog("SceneGraph::removeObject(): Error removing Object (id %d)! Pointer is %p.",
                                       object->getId(), static_cast<void *>(object));
    return -1;
  }
  return 0;
}

ObjectList SceneGraph::visibleObjects(int altitude) const {
  if (altitude < 0 || altitude > MAX_ALTITUDE) {
    LogManager::getInstance().writeLog("SceneGraph::visibleObjects(): Warning! altitude %d not in [%d,%d].", altitude,
                                       0, MAX_ALTITUDE);
    return ObjectList();
  }
  return m_visible_objects[altitude];
}

ObjectList SceneGraph::objectsOfType(std::string type) const {
  auto found = m_type_map.find(type);
  return found == m_type_map.end() ? ObjectList() : found->second;
}

ObjectList SceneGraph::getCollisions(const Object *object, Vector where) const {
  return m_grid.getCollisions(object, where);
}

int SceneGraph::updateActive(Object *object, bool active) {
  if (!object || object->isActive() == active) return 0;
  return moveActive(object, active);
}

namespace {

// Inserts the object into the list or removes it; false when that failed or
// there is no list.
bool changeMembership(ObjectList *list, Object *object, bool insert) {
  return list && (insert ? list->insert(object) : list->remove(object)) == 0;
}

// A step of updateActive() that failed is logged and fails the update; the
// caller passes done as true while the game is over and lists are torn down.
void reportActiveStep(bool done, const Object *object, const char *action, const char *list_name, int &result) {
  if (done) return;
  std::string type;
  LogManager::getInstance().writeLog("SceneGraph::updateActive(): %s (%s) failed for %s!", action,
                                     typeText(object, type), list_name);
  result = -1;
}

}  // namespace

// The log lines spell the steps as they always have ("insert Object" and
// "insert object" both).
int SceneGraph::moveActive(Object *object, bool active) {
  int result = 0;
  reportActiveStep(changeMembership(&m_objects, object, active) || s_game_over, object,
                   active ? "insert Object" : "remove object", "objects", result);
  if (active && m_type_map[object->getType()].insert(object) != 0) {
    std::string type;
    LogManager::getInstance().writeLog("SceneGraph::updateActive(): Error! insert Object (%s) failed for type map!",
                                       typeText(object, type));
    return -1;
  }
  if (!active && removeFromType(object) != 0) result = -1;
  if (object->isVisible()) {
    reportActiveStep(changeMembership(visibleList(object->getAltitude()), object, active) || s_game_over, object,
                     active ? "insert Object" : "remove visible object", "visible_objects", result);
  }
  if (object->isSolid()) {
    reportActiveStep(changeMembership(&m_solid_objects, object, active) || s_game_over, object,
                     active ? "insert object" : "remove object", "solid_objects", result);
    if ((active ? m_grid.insertObject(object) : m_grid.removeObject(object)) != 0) return -1;
  }
  reportActiveStep(changeMembership(&m_inactive_objects, object, !active) || s_game_over, object,
                   active ? "remove object" : "insert object", "inactive_objects", result);
  return result;
}

int SceneGraph::updateVisible(Object *object, bool visible) {
  if (!object || !object->isActive() || object->isVisible() == visible) return 0;
  LogManager &log = LogManager::getInstance();
  std::string type;
  ObjectList *list = visibleList(object->getAltitude());
  if (object->isVisible()) {
    if ((!list || list->remove(object) != 0) && !s_game_over) {
      log.writeLog("SceneGraph::updateVisible(): unable to remove visible object (%s)", typeText(object, type));
      return -1;
    }
  } else if ((!list || list->insert(object) != 0) && !s_game_over) {
    log.writeLog("SceneGraph::updateVisible(): unable to add visible object (%s)", typeText(object, type));
    return -1;
  }
  return 0;
}

int SceneGraph::updateAltitude(Object *object, int altitude) {
  if (!object || !object->isActive()) return 0;
  LogManager &log = LogManager::getInstance();
  ObjectList *new_list = visibleList(altitude);
  if (!new_list) {
    log.writeLog("SceneGraph::updateAltitude(): New altitude %d not in [%d,%d]!  No update.", altitude, 0,
                 MAX_ALTITUDE);
    return -1;
  }
  const int old_altitude = object->getAltitude();
  ObjectList *old_list = visibleList(old_altitude);
  if (!old_list) {
    log.writeLog("SceneGraph::updateAltitude(): Old altitude %d not in [%d,%d]! This is unxepected. No update.",
                 old_altitude, 0, MAX_ALTITUDE);
    return -1;
  }
  if (!object->isVisible()) return 0;
  if (old_list->remove(object) != 0 && !s_game_over) {
    log.writeLog("SceneGraph::updateAltitude(): remove from old altitude (%d) failed!", old_altitude);
    log.writeLog("\tObject: type %s, id %d, p %p", object->getType().c_str(), object->getId(),
                 static_cast<void *>(object));
    return -1;
  }
  if (new_list->insert(object) != 0) {
    log.writeLog("SceneGraph::updateAltitude()): insert visible object at altitude %d failed!", altitude);
    return -1;
  }
  return 0;
}

int SceneGraph::updateSolidness(Object *object, Solidness solidness) {
  if (!object || !object->isActive()) return 0;
  LogManager &log = LogManager::getInstance();
  std::string type;
  if (object->isSolid() && solidness == SPECTRAL) {
    if (m_solid_objects.remove(object) != 0 && !s_game_over)
      log.writeLog("SceneGraph::updateSolidness(): unable to remove solid object (%s)", typeText(object, type));
    return m_grid.removeObject(object) != 0 ? -1 : 0;
  }
  if (object->isSolid() || solidness == SPECTRAL) return 0;
  if (m_solid_objects.insert(object) != 0 && !s_game_over) {
    log.writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object");
    return -1;
  }
  log.writeLog(LOG_RECORD, "SceneGraph::updateSolidness(): Adding to grid.");
  if (m_grid.insertObject(object) != 0) {
    log.writeLog("SceneGraph::updateSolidness(): Error! unable to insert solid object (%d) into grid", object->getId());
    return -1;
  }
  return 0;
}

int SceneGraph::updateType(Object *object, std::string type) {
  // Inactive objects are in no type list; activation files them under
  // whatever type they have by then.
  if (!object || !object->isActive()) return 0;
  LogManager &log = LogManager::getInstance();
  if (removeFromType(object) != 0 && !s_game_over) {
    log.writeLog("SceneGraph::updateType(): Error! Unable to remove Object (%d) type %s", object->getId(),
                 object->getType().c_str());
    return -1;
  }
  if (m_type_map[type].insert(object) != 0 && !s_game_over) {
    log.writeLog("SceneGraph::updateType(): Error! Unable to insert Object (%d) type %s", object->getId(),
                 object->getType().c_str());
    return -1;
  }
  return 0;
}

int SceneGraph::updatePosition(Object *object, Vector position) {
  if (!object || !object->isSolid() || !object->isActive()) return 0;
  if (m_grid.updatePosition(object, position) == -1) {
    LogManager::getInstance().writeLog("SceneGraph::updatePosition(): Error! Calling grid updatePosition (Object %d).",
                                       object->getId());
    return -1;
  }
  return 0;
}

}  // namespace ts
