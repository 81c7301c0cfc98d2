#include "SceneGraph.h"

#include "LogManager.h"
#include "utility.h"

namespace ts {

SceneGraph::SceneGraph() {}

int SceneGraph::startUp() {
  m_type_map.clear();
  LogManager::getInstance().writeLog(1, "Scenegraph configuration: GRID");
  return 0;
}

void SceneGraph::shutDown() { m_type_map.clear(); }

int SceneGraph::insertObject(Object *object) {
  if (!object->isActive()) return m_inactive_objects.insert(object);
  if (m_objects.insert(object) != 0) return -1;
  m_type_map[object->getType()].insert(object);
  if (object->isSolid()) m_solid_objects.insert(object);
  if (!object->isVisible()) return 0;
  int altitude = object->getAltitude();
  if (altitude < 0 || altitude > MAX_ALTITUDE) return -1;
  return m_visible_objects[altitude].insert(object);
}

int SceneGraph::removeObject(Object *object) {
  if (!object->isActive()) return m_inactive_objects.remove(object);
  int result = m_objects.remove(object);
  m_type_map[object->getType()].remove(object);
  int altitude = object->getAltitude();
  if (object->isVisible() && altitude >= 0 && altitude <= MAX_ALTITUDE) m_visible_objects[altitude].remove(object);
  if (object->isSolid()) m_solid_objects.remove(object);
  return result;
}

ObjectList SceneGraph::visibleObjects(int altitude) const {
  if (altitude < 0 || altitude > MAX_ALTITUDE) return ObjectList();
  return m_visible_objects[altitude];
}

ObjectList SceneGraph::objectsOfType(std::string type) const {
  auto found = m_type_map.find(type);
  return found == m_type_map.end() ? ObjectList() : found->second;
}

ObjectList SceneGraph::getCollisions(const Object *object, Vector where) const {
  ObjectList hits;
  Box box = getWorldBox(object, where);
  for (int i = 0; i < m_solid_objects.getCount(); ++i) {
    Object *other = m_solid_objects[i];
    if (other != object && boxIntersectsBox(box, getWorldBox(other))) hits.insert(other);
  }
  return hits;
}

int SceneGraph::updateActive(Object *object, bool active) {
  if (object->isActive() == active) return 0;
  removeObject(object);
  if (active) {
    m_inactive_objects.remove(object);
    return 0;
  }
  return m_inactive_objects.insert(object);
}

int SceneGraph::updateVisible(Object *, bool) { return 0; }
int SceneGraph::updateAltitude(Object *, int) { return 0; }
int SceneGraph::updateSolidness(Object *, Solidness) { return 0; }
int SceneGraph::updateType(Object *, std::string) { return 0; }
int SceneGraph::updatePosition(Object *, Vector) { return 0; }

}  // namespace ts
