#include "WorldManager.h"

#include "LogManager.h"

namespace ts {

WorldManager::WorldManager() : m_p_view_following(nullptr) { setType("WorldManager"); }

WorldManager &WorldManager::getInstance() {
  static WorldManager instance;
  return instance;
}

int WorldManager::startUp() {
  if (isStarted()) return -1;
  m_deletions.clear();
  if (m_scene_graph.startUp() == -1) return -1;
  return Manager::startUp();
}

void WorldManager::shutDown() {
  Manager::shutDown();
  ObjectList all = m_scene_graph.activeObjects() + m_scene_graph.inactiveObjects();
  for (int i = 0; i < all.getCount(); ++i) delete all[i];
  m_scene_graph.shutDown();
}

bool WorldManager::isValid(std::string event_type) const {
  return event_type != KEYBOARD_EVENT && event_type != MOUSE_EVENT && event_type != STEP_EVENT &&
         event_type != OUT_EVENT && event_type != COLLISION_EVENT;
}

int WorldManager::insertObject(Object *object) {
  if (!isStarted()) return -1;
  return m_scene_graph.insertObject(object);
}

int WorldManager::removeObject(Object *object) { return m_scene_graph.removeObject(object); }

int WorldManager::markForDelete(Object *object) {
  for (int i = 0; i < m_deletions.getCount(); ++i) {
    if (m_deletions[i] == object) return 0;
  }
  return m_deletions.insert(object);
}

void WorldManager::update() {
  ObjectList deletions = m_deletions;
  m_deletions.clear();
  for (int i = 0; i < deletions.getCount(); ++i) delete deletions[i];
}

void WorldManager::draw() {
  for (int altitude = 0; altitude <= MAX_ALTITUDE; ++altitude) {
    ObjectList visible = m_scene_graph.visibleObjects(altitude);
    for (int i = 0; i < visible.getCount(); ++i) visible[i]->draw();
  }
}

int WorldManager::moveObject(Object *object, Vector where) { return object->setPosition(where); }

ObjectList WorldManager::getCollisions(const Object *object, Vector where) const {
  return m_scene_graph.getCollisions(object, where);
}

ObjectList WorldManager::objectsOfType(std::string type) const { return m_scene_graph.objectsOfType(type); }

void WorldManager::setBoundary(Box boundary) { m_boundary = boundary; }
void WorldManager::setViewPosition(Vector) {}
void WorldManager::setViewSlack(Vector slack) { m_view_slack = slack; }

}  // namespace ts
