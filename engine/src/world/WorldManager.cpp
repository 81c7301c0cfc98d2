#include <tessera/world/WorldManager.h>

#include <cmath>

#include <tessera/core/GameLoop.h>
#include <tessera/core/Geometry.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/EventCollision.h>
#include <tessera/world/EventOut.h>
#include <tessera/world/Object.h>
#include <tessera/world/ViewObject.h>

namespace ts {

namespace {

bool holdsHard(const ObjectList &list) {
  for (int i = 0; i < list.getCount(); ++i)
    if (list[i]->getSolidness() == HARD) return true;
  return false;
}

}  // namespace

WorldManager::WorldManager() : m_p_view_following(nullptr) { setType("WorldManager"); }

WorldManager &WorldManager::getInstance() {
  static WorldManager instance;
  return instance;
}

LiveSnapshot<Object> WorldManager::snapshot(const ObjectList &list) {
  LiveSnapshot<Object> entries;
  entries.reserve(static_cast<size_t>(list.getCount()));
  for (int i = 0; i < list.getCount(); ++i) entries.add(list[i]);
  return entries;
}

bool WorldManager::isValid(std::string event_type) const {
  LogManager &log = LogManager::getInstance();
  if (event_type == KEYBOARD_EVENT || event_type == MOUSE_EVENT || event_type == STEP_EVENT) {
    log.writeLog("WorldManager::isValid(): WorldManager does not handle %s", event_type.c_str());
    return false;
  }
  if (event_type == OUT_EVENT || event_type == COLLISION_EVENT || event_type == TIMER_EVENT) {
    log.writeLog("WorldManager::isValid(): Event %s handled automatically.", event_type.c_str());
    return false;
  }
  return true;
}

int WorldManager::startUp() {
  LogManager &log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
    return -1;
  }
  m_deletions.clear();
  m_marked.clear();
  m_boundary = Box();
  setView(Box());
  m_view_slack = Vector(0, 0);
  m_p_view_following = nullptr;
  if (m_scene_graph.startUp() == -1) {
    log.writeLog("WorldManager::startUp(): Error! Unable to startup Scenegraph");
    return -1;
  }
  Manager::startUp();
  log.writeLog(LOG_MANAGER, "WorldManager::startUp(): successfully started.");
  return 0;
}

void WorldManager::shutDown() {
  Manager::shutDown();
  // Destructors take their objects out of the scene graph, and a destructor
  // may destroy other objects too, hence the copy and the liveness check.
  snapshot(m_scene_graph.activeObjects() + m_scene_graph.inactiveObjects()).forEachLive([](Object *object) {
    delete object;
  });
  m_deletions.clear();
  m_marked.clear();
  m_p_view_following = nullptr;
  m_scene_graph.shutDown();
  LogManager::getInstance().writeLog(LOG_MANAGER, "WorldManager::shutDown(): Successfully stopped.");
}

int WorldManager::insertObject(Object *object) {
  if (isStarted()) return m_scene_graph.insertObject(object);
  LogManager &log = LogManager::getInstance();
  log.writeLog(LOG_SETTINGS, "WorldManager::insertObject(): Warning! Not adding Object %d",
               object ? object->getId() : -1);
  log.writeLog(LOG_SETTINGS, "                              because WorldManager not started.");
  return -1;
}

int WorldManager::removeObject(Object *object) {
  // A followed object that leaves the world must never be dereferenced again.
  if (object && object == m_p_view_following) m_p_view_following = nullptr;
  return m_scene_graph.removeObject(object);
}

int WorldManager::markForDelete(Object *object) {
  if (!object) {
    LogManager::getInstance().writeLog(
        "WorldManager::markForDelete(): Error! unable to add Object %p to deletions list", static_cast<void *>(object));
    return -1;
  }
  // An entry left by a destroyed object whose address was reused does not
  // count as a mark of the new one.
  auto found = m_marked.find(object);
  if (found != m_marked.end() && Object::isLive(object, found->second)) return 0;
  m_deletions.emplace_back(object, object->getSerial());
  m_marked[object] = object->getSerial();
  return 0;
}

int WorldManager::markAllForDelete(const std::string &type) {
  int marked = 0;
  const ObjectList all = m_scene_graph.activeObjects() + m_scene_graph.inactiveObjects();
  for (int i = 0; i < all.getCount(); ++i) {
    if (all[i]->getType() != type || isMarkedForDelete(all[i])) continue;
    markForDelete(all[i]);
    ++marked;
  }
  return marked;
}

bool WorldManager::isMarkedForDelete(const Object *object) const {
  auto found = m_marked.find(object);
  return found != m_marked.end() && Object::isLive(object, found->second);
}

void WorldManager::update() {
  snapshot(m_scene_graph.activeObjects()).forEachLive([this](Object *object) { moveStep(object); });
  deleteMarked();
}

// One object's share of the update: its due timers, a move by its velocity,
// then path and acceleration (unless a handler destroyed or marked it).
void WorldManager::moveStep(Object *object) {
  if (isMarkedForDelete(object)) return;
  const uint64_t serial = object->getSerial();
  object->fireTimers(GameLoop::stepCount());
  if (!Object::isLive(object, serial) || isMarkedForDelete(object)) return;
  Vector where = object->predictPosition();
  if (where != object->getPosition()) moveObject(object, where);
  if (!Object::isLive(object, serial)) return;
  object->stepAlongPath();
  object->applyAcceleration();
}

// Destroys the marked objects in marking order. Destructors may mark more
// objects (they are destroyed in this pass too) or destroy marked ones
// themselves (their entries are then skipped).
void WorldManager::deleteMarked() {
  for (size_t i = 0; i < m_deletions.size(); ++i) {
    Entry entry = m_deletions[i];
    if (Object::isLive(entry.first, entry.second)) delete entry.first;
  }
  m_deletions.clear();
  m_marked.clear();
}

void WorldManager::draw() {
  for (int altitude = 0; altitude <= MAX_ALTITUDE; ++altitude) {
    snapshot(m_scene_graph.visibleObjects(altitude)).forEachLive([this](Object *object) {
      // View objects sit at view positions, so the view test does not apply.
      if (boxIntersectsBox(getWorldBox(object), m_view) || dynamic_cast<ViewObject *>(object)) object->draw();
    });
  }
}

int WorldManager::moveObject(Object *object, Vector where) {
  if (!object || isMarkedForDelete(object)) return -1;
  const uint64_t serial = object->getSerial();
  if (object->isSolid()) {
    ObjectList collisions = getCollisions(object, where);
    if (!collisions.isEmpty() && object->getSolidness() == HARD && object->getAvoidCollisions() &&
        avoidObstacle(object, collisions, where) == -1)
      return -1;
    if (!collisions.isEmpty() && !reportCollisions(object, collisions, where, serial)) return -1;
  }
  Box before = getWorldBox(object);
  object->setPosition(where);
  Box after = getWorldBox(object);
  if (boxIntersectsBox(before, m_boundary) && !boxIntersectsBox(after, m_boundary)) {
    EventOut out;
    object->eventHandler(&out);
    if (!Object::isLive(object, serial)) return 0;
  }
  if (object == m_p_view_following) followObject(object);
  return 0;
}

// A HARD object blocked by a HARD obstacle tries to slide along it: the part
// of its motion into the obstacle is dropped. On success collisions and where
// describe the slide; -1 if the slide is blocked too.
int WorldManager::avoidObstacle(Object *object, ObjectList &collisions, Vector &where) {
  Object *obstacle = nullptr;
  for (int i = 0; i < collisions.getCount() && !obstacle; ++i)
    if (collisions[i]->getSolidness() == HARD) obstacle = collisions[i];
  if (!obstacle) return 0;
  Vector normal = getNormal(object, obstacle);
  float nx = std::fabs(normal.getX());
  float ny = std::fabs(normal.getY());
  Vector direction = object->getDirection();
  Vector slide(direction.getX() * ny, direction.getY() * nx);
  if (nx == 1 && ny == 1) slide.setX(-slide.getX());
  slide.normalize();
  slide.scale(object->getSpeed());
  Vector slide_where = object->getPosition() + slide;
  ObjectList slide_collisions = getCollisions(object, slide_where);
  if (holdsHard(slide_collisions)) {
    LogManager::getInstance().writeLog(
        LOG_MANAGER, "WorldManager::moveObject(): Double collision. Object (avoid obstacles) cannot move.");
    return -1;
  }
  collisions = slide_collisions;
  where = slide_where;
  return 0;
}

// Sends "ts-collision" to the mover and to each object it runs into; false
// if any of them blocks the move. Objects destroyed or marked for deletion
// by a handler get no event and block nothing; if the mover itself is
// destroyed or marked, nothing more happens and the move is off.
bool WorldManager::reportCollisions(Object *object, const ObjectList &collisions, Vector where, uint64_t serial) {
  bool move = true;
  auto in_play = [this](Object *one, uint64_t one_serial) {
    return Object::isLive(one, one_serial) && !isMarkedForDelete(one);
  };
  bool mover_in_play = snapshot(collisions).forEachLiveWhile([&](Object *other) {
    const uint64_t other_serial = other->getSerial();
    if (!in_play(other, other_serial)) return true;
    EventCollision collision(object, other, where);
    object->eventHandler(&collision);
    if (!in_play(object, serial)) return false;
    if (!in_play(other, other_serial)) return true;
    other->eventHandler(&collision);
    if (!in_play(object, serial)) return false;
    if (!in_play(other, other_serial)) return true;
    if (object->getSolidness() == HARD && other->getSolidness() == HARD) move = false;
    if (object->getNoSoft() && other->getSolidness() == SOFT) move = false;
    return true;
  });
  return mover_in_play && move;
}

// Scrolls the view just enough to keep the followed object inside the slack
// window around the view's centre.
void WorldManager::followObject(const Object *object) {
  const float horizontal = m_view.getHorizontal();
  const float vertical = m_view.getVertical();
  Vector centre(m_view.getCorner().getX() + horizontal * 0.5f, m_view.getCorner().getY() + vertical * 0.5f);
  const float left = centre.getX() - horizontal * m_view_slack.getX() * 0.5f;
  const float right = centre.getX() + horizontal * m_view_slack.getX() * 0.5f;
  const float top = centre.getY() - vertical * m_view_slack.getY() * 0.5f;
  const float bottom = centre.getY() + vertical * m_view_slack.getY() * 0.5f;
  Vector position = object->getPosition();
  if (position.getX() < left)
    centre.setX(centre.getX() - (left - position.getX()));
  else if (position.getX() > right)
    centre.setX(centre.getX() + (position.getX() - right));
  if (position.getY() < top)
    centre.setY(centre.getY() - (top - position.getY()));
  else if (position.getY() > bottom)
    centre.setY(centre.getY() + (position.getY() - bottom));
  setViewPosition(centre);
}

ObjectList WorldManager::getCollisions(const Object *object, Vector where) const {
  if (isMarkedForDelete(object)) return ObjectList();
  ObjectList collisions = m_scene_graph.getCollisions(object, where);
  if (m_marked.empty()) return collisions;
  ObjectList in_play;
  for (int i = 0; i < collisions.getCount(); ++i)
    if (!isMarkedForDelete(collisions[i])) in_play.insert(collisions[i]);
  return in_play;
}

ObjectList WorldManager::objectsOfType(std::string type) const { return m_scene_graph.objectsOfType(type); }

void WorldManager::setBoundary(Box boundary) {
  if (boundary == m_boundary) return;
  m_boundary = boundary;
  // A stopped world has no grid to rebuild; startUp builds it.
  if (!isStarted()) return;
  m_scene_graph.shutDown();
  m_scene_graph.startUp();
  m_scene_graph.reindex();
}

void WorldManager::setViewPosition(Vector view_pos) {
  const float horizontal = m_view.getHorizontal();
  const float vertical = m_view.getVertical();
  float x = view_pos.getX() - horizontal * 0.5f;
  float y = view_pos.getY() - vertical * 0.5f;
  if (x + horizontal > m_boundary.getHorizontal()) x = m_boundary.getHorizontal() - horizontal;
  if (y + vertical > m_boundary.getVertical()) y = m_boundary.getVertical() - vertical;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  setView(Box(Vector(x, y), horizontal, vertical));
}

void WorldManager::setView(Box view) {
  m_view = view;
  DisplayManager::getInstance().setViewOrigin(view.getCorner());
}

void WorldManager::setViewSlack(Vector slack) {
  if (!valueInRange(slack.getX(), 0, 1) || !valueInRange(slack.getY(), 0, 1))
    LogManager::getInstance().writeLog("WorldManager::setViewSlack(): Warning! view slack units out of range [0-1]");
  m_view_slack = slack;
}

int WorldManager::setViewFollowing(Object *object) {
  if (!object) {
    m_p_view_following = nullptr;
    return 0;
  }
  // Only an object the world owns may be followed: removeObject is what
  // clears the choice again.
  const ObjectList &active = m_scene_graph.activeObjects();
  if (!active.contains(object) && !m_scene_graph.inactiveObjects().contains(object)) {
    LogManager::getInstance().writeLog("WorldManager::setViewFollowing(): Warning! Object %p is not in the world.",
                                       static_cast<void *>(object));
    return -1;
  }
  m_p_view_following = object;
  setViewPosition(object->getPosition());
  return 0;
}

Vector worldToView(Vector world_pos) { return world_pos - WorldManager::getInstance().getView().getCorner(); }

Vector viewToWorld(Vector view_pos) { return view_pos + WorldManager::getInstance().getView().getCorner(); }

}  // namespace ts
