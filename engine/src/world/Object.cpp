#include <tessera/world/Object.h>

#include <climits>
#include <typeinfo>

#include <tessera/core/EventRegistry.h>
#include <tessera/core/Geometry.h>
#include <tessera/core/LogManager.h>
#include <tessera/core/Stream.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/system/Text.h>
#include <tessera/world/EventPath.h>
#include <tessera/world/PathSearch.h>
#include <tessera/world/WorldManager.h>

namespace ts {

namespace {

int32_t s_next_id = 1;

// Interest goes to the manager that keeps the event type; the world manager
// keeps every type no other manager claims.
int registerWithKeeper(Object *object, const std::string &event_type) {
  const int result = EventRegistry::registerInterest(object, event_type);
  if (result != EventRegistry::NOT_CLAIMED) return result;
  return WorldManager::getInstance().registerInterest(object, event_type);
}

int unregisterWithKeeper(Object *object, const std::string &event_type) {
  const int result = EventRegistry::unregisterInterest(object, event_type);
  if (result != EventRegistry::NOT_CLAIMED) return result;
  return WorldManager::getInstance().unregisterInterest(object, event_type);
}

SceneGraph &sceneGraph() { return WorldManager::getInstance().getSceneGraph(); }

const char *boolText(bool value) { return value ? "true" : "false"; }

}  // namespace

Object::Object()
    : m_id(s_next_id),
      m_type("(Undefined)"),
      m_is_active(true),
      m_is_visible(true),
      m_box(Vector(-0.5f, -0.5f), 0.99f, 0.99f),
      m_position(1, 1),
      m_speed(0),
      m_altitude(MAX_ALTITUDE / 2),
      m_solidness(HARD),
      m_no_soft(false),
      m_event_count(0),
      m_modified(ALL_OBJECT_ATTR),
      m_follow_path(false),
      m_avoid_collisions(false) {
  s_next_id = static_cast<int32_t>(static_cast<uint32_t>(s_next_id) + 1u);
  m_shape.setType(UNDEFINED_SHAPE);
  WorldManager::getInstance().insertObject(this);
}

Object::~Object() {
  retire();
  unregisterAll();
  dropPathSearch();
  WorldManager::getInstance().removeObject(this);
}

bool Object::isLive(const Object *object, uint64_t serial) { return object && EventHandler::isLive(serial); }

void Object::unregisterAll() {
  for (int i = m_event_count - 1; i >= 0; --i) unregisterInterest(m_event_name[i]);
}

// A search withdraws itself from the path manager when it is destroyed.
void Object::dropPathSearch() { m_p_path_search.reset(); }

void Object::setPathSearch(PathSearch *search) {
  if (search == m_p_path_search.get()) return;
  m_p_path_search.reset(search);
}

std::string Object::getEventName(int index) const {
  if (index < 0 || index >= m_event_count) return "";
  return m_event_name[index];
}

void Object::setType(std::string type) {
  sceneGraph().updateType(this, type);
  m_type = type;
  m_modified |= TYPE_ATTR;
}

int Object::setPosition(Vector position) {
  if (position == m_position) return 0;
  sceneGraph().updatePosition(this, position);
  m_position = position;
  m_modified |= POSITION_ATTR;
  return 0;
}

int Object::setSolidness(Solidness solidness) {
  if (solidness == m_solidness) return 0;
  if (solidness != HARD && solidness != SOFT && solidness != SPECTRAL) {
    LogManager::getInstance().writeLog("Object::setSolidness(): Solidness %d not one of HARD, SOFT or SPECTRAL.",
                                       static_cast<int>(solidness));
    return -1;
  }
  if (sceneGraph().updateSolidness(this, solidness) == -1) return -1;
  m_solidness = solidness;
  m_modified |= SOLIDNESS_ATTR;
  return 0;
}

void Object::setAvoidCollisions(bool avoid) {
  m_avoid_collisions = avoid;
  m_modified |= AVOID_COLLISIONS_ATTR;
}

int Object::setAltitude(int altitude) {
  if (altitude == m_altitude) return 0;
  if (!valueInRange(static_cast<float>(altitude), 0, MAX_ALTITUDE)) {
    LogManager::getInstance().writeLog("Object::setAltitude(): Altitude %d not in range [%d,%d].  Ignored.", altitude,
                                       0, MAX_ALTITUDE);
    return -1;
  }
  if (sceneGraph().updateAltitude(this, altitude) == -1) return -1;
  m_altitude = altitude;
  m_modified |= ALTITUDE_ATTR;
  return 0;
}

void Object::setDirection(Vector direction) {
  direction.normalize();
  m_direction = direction;
}

void Object::setVelocity(Vector velocity) {
  m_speed = velocity.getMagnitude();
  velocity.normalize();
  m_direction = velocity;
  m_modified |= SPEED_ATTR | DIRECTION_ATTR;
}

void Object::setAcceleration(Vector acceleration) {
  m_acceleration = acceleration;
  m_modified |= ACCELERATION_ATTR;
}

bool Object::isVisible() const { return m_is_visible; }

int Object::setActive(bool active) {
  if (active == m_is_active) return 0;
  if (sceneGraph().updateActive(this, active) == -1) return -1;
  m_modified |= ACTIVE_ATTR;
  m_is_active = active;
  return 0;
}

void Object::setVisible(bool visible) {
  if (visible == isVisible()) return;
  if (sceneGraph().updateVisible(this, visible) == -1) return;
  m_is_visible = visible;
  m_modified |= VISIBLE_ATTR;
}

void Object::setBox(Box box) {
  if (box == m_box) return;
  sceneGraph().removeObject(this);
  m_box = box;
  sceneGraph().insertObject(this);
  m_modified |= BOX_ATTR;
}

int Object::setSprite(std::string label) {
  Sprite *sprite = ResourceManager::getInstance().getSprite(label);
  if (!sprite) {
    LogManager::getInstance().writeLog("Object::setSprite(): Warning! Sprite '%s' not found", label.c_str());
    return -1;
  }
  m_animation.setSprite(sprite);
  setBox(m_animation.getBox());
  return 0;
}

void Object::setAnimation(Animation animation, bool set_box) {
  m_animation = animation;
  m_modified |= ANIMATION_ATTR;
  if (set_box) setBox(m_animation.getBox());
}

void Object::setModified(unsigned int mask) { m_modified = mask; }
unsigned int Object::getModified() const { return m_modified; }

void Object::setShape(Shape shape) {
  m_shape = shape;
  m_modified |= SHAPE_ATTR;
}

void Object::setPath(Path path) {
  m_path = path;
  m_modified |= PATH_ATTR;
}

void Object::setFollowPath(bool follow) {
  m_follow_path = follow;
  if (!m_path.isDone()) setDirection(m_path.getWaypoint() - m_position);
  m_modified |= FOLLOW_PATH_ATTR;
}

void Object::setSpeed(float speed) {
  m_speed = speed;
  m_modified |= SPEED_ATTR;
}

void Object::setNoSoft(bool no_soft) {
  m_no_soft = no_soft;
  m_modified |= NO_SOFT_ATTR;
}

Vector Object::getVelocity() const {
  Vector velocity = m_direction;
  velocity.scale(m_speed);
  return velocity;
}

Vector Object::predictPosition() const { return m_position + getVelocity(); }

bool Object::isSolid() const { return m_solidness == HARD || m_solidness == SOFT; }

int Object::registerInterest(std::string event_type) {
  if (m_event_count == MAX_OBJ_EVENTS) {
    LogManager::getInstance().writeLog(
        "Object::registerInterest(): maximum (%d) reached, cannot register for event '%s'", MAX_OBJ_EVENTS,
        event_type.c_str());
    return -1;
  }
  if (registerWithKeeper(this, event_type) == -1) return -1;
  m_event_name[m_event_count++] = event_type;
  m_modified |= EVENTS_ATTR;
  return 0;
}

int Object::unregisterInterest(std::string event_type) {
  int index = -1;
  for (int i = 0; i < m_event_count; ++i) {
    if (m_event_name[i] == event_type) {
      index = i;
      break;
    }
  }
  if (index < 0) {
    LogManager::getInstance().writeLog("Object::unregisterInterest(): event '%s' not previously registered",
                                       event_type.c_str());
    return -1;
  }
  if (unregisterWithKeeper(this, event_type) == -1) return -1;
  for (int i = index; i < m_event_count - 1; ++i) m_event_name[i] = m_event_name[i + 1];
  m_event_name[--m_event_count].clear();
  m_modified |= EVENTS_ATTR;
  return 0;
}

int Object::eventHandler(const Event *p_event) {
  if (p_event->getType() != PATH_EVENT) return 0;
  const EventPath *p_path_event = dynamic_cast<const EventPath *>(p_event);
  if (!p_path_event) {
    LogManager::getInstance().writeLog("Object::eventHandler(): Error! Dynamic cast to EventPath failed.");
    return 0;
  }
  if (p_path_event->getStatus() == PATH_FOUND) {
    setPath(p_path_event->getPath());
    setFollowPath(true);
  }
  dropPathSearch();
  return 1;
}

int Object::draw() {
  int result = m_animation.draw(m_position);
  if (m_shape.getType() != UNDEFINED_SHAPE) m_shape.draw(m_position);
  return result;
}

void Object::stepAlongPath() {
  if (!m_follow_path) return;
  while (!m_path.isDone()) {
    Vector waypoint = m_path.getWaypoint();
    float d = distance(m_position, waypoint);
    double reach = static_cast<double>(m_speed * 3.0f) * 0.25;
    if (d > reach) {
      setDirection(waypoint - m_position);
      return;
    }
    setPosition(waypoint);
    m_path.advance();
    m_modified |= PATH_ATTR;
  }
  setDirection(Vector(0, 0));
  setFollowPath(false);
}

void Object::applyAcceleration() {
  if (m_acceleration == Vector(0, 0)) return;
  setVelocity(getVelocity() + m_acceleration);
}

// Serialization: a 4-byte mask, then the selected attributes in a fixed
// stream order (direction before speed, follow_path before path).

int Object::serialize(std::stringstream &stream, unsigned int mask) {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(LOG_RECORD, "Object::serialize(): attr is %u, modified is %u (%s)", mask, m_modified,
               boolText(m_modified != 0));
  log.writeLog(LOG_FIELDS, "\t%s", maskToString(mask).c_str());
  uint32_t select = mask != 0 ? mask : m_modified;
  writeRaw(stream, select);
  auto wants = [&](uint32_t bit) {
    if (!(select & bit)) return false;
    m_modified &= ~bit;
    return true;
  };
  if (wants(ID_ATTR)) {
    writeRaw(stream, m_id);
    log.writeLog(LOG_FIELDS, "\tID: %d", m_id);
  }
  if (wants(ACTIVE_ATTR)) {
    writeRaw(stream, m_is_active);
    log.writeLog(LOG_FIELDS, "\tACTIVE: %s", boolText(m_is_active));
  }
  if (wants(VISIBLE_ATTR)) {
    writeRaw(stream, m_is_visible);
    log.writeLog(LOG_FIELDS, "\tVISIBLE: %s", boolText(m_is_visible));
  }
  if (wants(EVENTS_ATTR)) {
    writeRaw(stream, m_event_count);
    log.writeLog(LOG_FIELDS, "\tEVENTS: %d", m_event_count);
    for (int i = 0; i < m_event_count; ++i) {
      writeString(stream, m_event_name[i]);
      log.writeLog(LOG_FIELDS, "\t\t%s (size %d)", m_event_name[i].c_str(), static_cast<int>(m_event_name[i].size()));
    }
  }
  if (wants(BOX_ATTR)) {
    m_box.serialize(stream);
    log.writeLog(LOG_FIELDS, "\tBOX: %s", m_box.toString().c_str());
  }
  if (wants(POSITION_ATTR)) {
    m_position.serialize(stream);
    log.writeLog(LOG_FIELDS, "\tPOSITION: %s", m_position.toString().c_str());
  }
  if (wants(TYPE_ATTR)) {
    writeString(stream, m_type);
    log.writeLog(LOG_FIELDS, "\tTYPE: %s", m_type.c_str());
  }
  if (wants(ANIMATION_ATTR)) {
    m_animation.serialize(stream);
    log.writeLog(LOG_FIELDS, "\tANIMATION: %s", m_animation.toString().c_str());
  }
  if (wants(ALTITUDE_ATTR)) {
    writeRaw(stream, m_altitude);
    log.writeLog(LOG_FIELDS, "\tALTITUDE: %d", m_altitude);
  }
  if (wants(SOLIDNESS_ATTR)) {
    int32_t solidness = m_solidness;
    writeRaw(stream, solidness);
    log.writeLog(LOG_FIELDS, "\tSOLIDNESS: %s", solidnessToString(m_solidness).c_str());
  }
  if (wants(NO_SOFT_ATTR)) {
    writeRaw(stream, m_no_soft);
    log.writeLog(LOG_FIELDS, "\tNO_SOFT: %s", boolText(m_no_soft));
  }
  if (wants(DIRECTION_ATTR)) {
    m_direction.serialize(stream);
    log.writeLog(LOG_FIELDS, "\tDIRECTION: %s", m_direction.toString().c_str());
  }
  if (wants(SPEED_ATTR)) {
    writeRaw(stream, m_speed);
    log.writeLog(LOG_FIELDS, "\tSPEED: %f", m_speed);
  }
  if (wants(ACCELERATION_ATTR)) {
    m_acceleration.serialize(stream);
    log.writeLog(LOG_FIELDS, "\tACCELERATION: %s", m_acceleration.toString().c_str());
  }
  if (wants(SHAPE_ATTR)) {
    m_shape.serialize(stream);
    log.writeLog(LOG_FIELDS, "\tSHAPE: %s", m_shape.toString().c_str());
  }
  if (wants(FOLLOW_PATH_ATTR)) {
    writeRaw(stream, m_follow_path);
    log.writeLog(LOG_FIELDS, "\tFOLLOW_PATH: %s", boolText(m_follow_path));
  }
  if (wants(PATH_ATTR)) {
    m_path.serialize(stream);
    log.writeLog(LOG_FIELDS, "\tPATH: %s", m_path.toString().c_str());
  }
  if (wants(AVOID_COLLISIONS_ATTR)) {
    writeRaw(stream, m_avoid_collisions);
    log.writeLog(LOG_FIELDS, "\tAVOID_COLLISIONS: %s", boolText(m_avoid_collisions));
  }
  return streamCheck("Object::serialize()", stream);
}

namespace {
bool readBool(std::stringstream &stream) {
  unsigned char byte = 0;
  readRaw(stream, byte);
  return byte != 0;
}
}  // namespace

int Object::deserializeEvents(std::stringstream &stream) {
  const LogManager &log = LogManager::getInstance();
  unregisterAll();
  int32_t count = 0;
  readRaw(stream, count);
  log.writeLog(LOG_FIELDS, "\tEVENTS: %d", count);
  // Every name takes at least its 8-byte length, so a stream that has run
  // dry ends the loop whatever count it claimed.
  for (int32_t i = 0; i < count && stream.good(); ++i) {
    uint64_t length = 0;
    readRaw(stream, length);
    if (!stream.good()) break;
    log.writeLog(LOG_FIELDS, "\t\tsize %d", static_cast<int>(length));
    if (length > bytesRemaining(stream)) {
      log.writeLog("Object::deserialize(): Error! Cannot allocate %d bytes.", static_cast<int>(length));
      continue;
    }
    std::string name(static_cast<size_t>(length), '\0');
    if (length > 0) stream.read(&name[0], static_cast<std::streamsize>(length));
    name = name.c_str();
    if (registerInterest(name) == -1) log.writeLog("Object::deserialize(): Error! Register interest: %s", name.c_str());
    log.writeLog(LOG_FIELDS, "\t\t%s (size %d)", name.c_str(), static_cast<int>(length));
  }
  return 0;
}

int Object::deserializeAnimation(std::stringstream &stream) {
  Animation animation;
  if (animation.deserialize(stream) == -1 && stream.good()) return -1;
  setAnimation(animation, true);
  if (!animation.getName().empty()) {
    int index = animation.getIndex();
    setSprite(animation.getName());
    m_animation.setIndex(index);
    setAnimation(m_animation, true);
  }
  LogManager::getInstance().writeLog(LOG_FIELDS, "\tANIMATION: %s", m_animation.toString().c_str());
  return 0;
}

int Object::deserialize(std::stringstream &stream, unsigned int *p_mask) {
  const LogManager &log = LogManager::getInstance();
  unsigned int local_mask = 0;
  unsigned int &mask = p_mask ? *p_mask : local_mask;
  mask = 0;
  readRaw(stream, mask);
  log.writeLog(LOG_RECORD, "Object::deserialize(): attr %u (%s)", mask, maskToString(mask).c_str());
  if (mask & ID_ATTR) {
    int32_t id = 0;
    readRaw(stream, id);
    if (id != m_id) {
      if (id >= s_next_id) s_next_id = static_cast<int32_t>(static_cast<uint32_t>(id) + 1u);
      m_id = id;
      m_modified |= ID_ATTR;
    }
    log.writeLog(LOG_FIELDS, "\tID: %d", m_id);
  }
  if (mask & ACTIVE_ATTR) {
    bool active = readBool(stream);
    setActive(active);
    log.writeLog(LOG_FIELDS, "\tACTIVE: %s", boolText(active));
  }
  if (mask & VISIBLE_ATTR) {
    bool visible = readBool(stream);
    setVisible(visible);
    log.writeLog(LOG_FIELDS, "\tVISIBLE: %s", boolText(visible));
  }
  if (mask & EVENTS_ATTR) deserializeEvents(stream);
  if (mask & BOX_ATTR) {
    Box box;
    box.deserialize(stream);
    setBox(box);
    log.writeLog(LOG_FIELDS, "\tBOX: %s", box.toString().c_str());
  }
  if (mask & POSITION_ATTR) {
    Vector position;
    position.deserialize(stream);
    setPosition(position);
    log.writeLog(LOG_FIELDS, "\tPOSITION: %s", position.toString().c_str());
  }
  if (mask & TYPE_ATTR) {
    uint64_t length = 0;
    readRaw(stream, length);
    if (stream.good() && length > bytesRemaining(stream)) {
      log.writeLog("Object::deserialize(): Error! Cannot allocate %d bytes.", static_cast<int>(length));
      return -1;
    }
    std::string type(stream.good() ? static_cast<size_t>(length) : 0, '\0');
    if (!type.empty()) stream.read(&type[0], static_cast<std::streamsize>(type.size()));
    setType(type.c_str());
    log.writeLog(LOG_FIELDS, "\tTYPE: %s", m_type.c_str());
  }
  if ((mask & ANIMATION_ATTR) && deserializeAnimation(stream) == -1) return -1;
  if (mask & ALTITUDE_ATTR) {
    int32_t altitude = 0;
    readRaw(stream, altitude);
    setAltitude(altitude);
    log.writeLog(LOG_FIELDS, "\tALTITUDE: %d", altitude);
  }
  if (mask & SOLIDNESS_ATTR) {
    int32_t solidness = 0;
    readRaw(stream, solidness);
    setSolidness(static_cast<Solidness>(solidness));
    log.writeLog(LOG_FIELDS, "\tSOLIDNESS: %s", solidnessToString(solidness).c_str());
  }
  if (mask & NO_SOFT_ATTR) {
    setNoSoft(readBool(stream));
    log.writeLog(LOG_FIELDS, "\tNO_SOFT: %s", boolText(m_no_soft));
  }
  if (mask & DIRECTION_ATTR) {
    Vector direction;
    direction.deserialize(stream);
    setDirection(direction);
    log.writeLog(LOG_FIELDS, "\tDIRECTION: %s", m_direction.toString().c_str());
  }
  if (mask & SPEED_ATTR) {
    float speed = 0;
    readRaw(stream, speed);
    setSpeed(speed);
    log.writeLog(LOG_FIELDS, "\tSPEED: %f", m_speed);
  }
  if (mask & ACCELERATION_ATTR) {
    Vector acceleration;
    acceleration.deserialize(stream);
    setAcceleration(acceleration);
    log.writeLog(LOG_FIELDS, "\tACCELERATION: %s", m_acceleration.toString().c_str());
  }
  if (mask & SHAPE_ATTR) {
    Shape shape;
    shape.deserialize(stream);
    setShape(shape);
    log.writeLog(LOG_FIELDS, "\tSHAPE: %s", m_shape.toString().c_str());
  }
  if (mask & FOLLOW_PATH_ATTR) {
    setFollowPath(readBool(stream));
    log.writeLog(LOG_FIELDS, "\tFOLLOW_PATH: %s", boolText(m_follow_path));
  }
  if (mask & PATH_ATTR) {
    Path path;
    path.deserialize(stream);
    setPath(path);
    log.writeLog(LOG_FIELDS, "\tPATH: %s", m_path.toString().c_str());
  }
  if (mask & AVOID_COLLISIONS_ATTR) {
    setAvoidCollisions(readBool(stream));
    log.writeLog(LOG_FIELDS, "\tAVOID_COLLISIONS: %s", boolText(m_avoid_collisions));
  }
  m_modified = 0;
  log.writeLog(LOG_RECORD, "Object::deserialize(): done checking all types.");
  return streamCheck("Object::deserialize()", stream);
}

Box getWorldBox(const Object *object) { return getWorldBox(object, object->getPosition()); }

Box getWorldBox(const Object *object, Vector where) {
  Box box = object->getBox();
  box.setCorner(box.getCorner() + where);
  return box;
}

Vector getNormal(const Object *mover, const Object *obstacle) {
  Box o = getWorldBox(obstacle);
  Vector v = mover->getVelocity();
  Vector p = mover->getPosition();
  float t = 0.5f;
  Vector last = p;
  float step = 1.0f;
  for (int k = 1; k <= 7; ++k) {
    Vector scaled = v;
    scaled.scale(t);
    Vector c = p + scaled;
    step *= 0.5f;
    if (boxIntersectsBox(getWorldBox(mover, c), o)) {
      t -= step;
    } else {
      t += step;
      last = c;
    }
  }
  Box m = getWorldBox(mover, last);
  float h = o.getHorizontal(), vv = o.getVertical();
  const float offsets[8][2] = {{0, -vv}, {0, vv}, {-h, 0}, {h, 0}, {-h, -vv}, {h, -vv}, {-h, vv}, {h, vv}};
  const float normals[8][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (int i = 0; i < 8; ++i) {
    Box moved(o.getCorner() + Vector(offsets[i][0], offsets[i][1]), h, vv);
    if (boxIntersectsBox(m, moved)) return Vector(normals[i][0], normals[i][1]);
  }
  LogManager::getInstance().writeLog(LOG_ROUTINE, "getNormal(): No collision detected. Returning (0,0).");
  return Vector(0, 0);
}

}  // namespace ts
