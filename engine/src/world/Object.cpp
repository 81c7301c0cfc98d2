#include <tessera/world/Object.h>

#include <algorithm>
#include <cinttypes>
#include <climits>
#include <type_traits>
#include <typeinfo>

#include <tessera/core/EventRegistry.h>
#include <tessera/core/GameLoop.h>
#include <tessera/core/Geometry.h>
#include <tessera/core/LogManager.h>
#include <tessera/core/Stream.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/system/Text.h>
#include <tessera/world/EventPath.h>
#include <tessera/world/EventTimer.h>
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
  int result = m_animation.draw(m_position, m_sprite_color);
  if (m_shape.getType() != UNDEFINED_SHAPE) m_shape.draw(m_position);
  return result;
}

bool Object::isMarkedForDelete() const { return WorldManager::getInstance().isMarkedForDelete(this); }

void Object::setSpriteColor(Color color) { m_sprite_color = color; }

void Object::clearSpriteColor() { m_sprite_color.reset(); }

int Object::setTimer(const std::string &name, int steps, bool repeat) {
  if (steps < 1) {
    LogManager::getInstance().writeLog("Object::setTimer(): Error! Timer '%s' needs at least 1 step, not %d.",
                                       name.c_str(), steps);
    return -1;
  }
  cancelTimer(name);
  m_timers.push_back(Timer{name, static_cast<int64_t>(GameLoop::stepCount()) + steps, steps, repeat});
  return 0;
}

int Object::cancelTimer(const std::string &name) {
  for (auto timer = m_timers.begin(); timer != m_timers.end(); ++timer) {
    if (timer->name != name) continue;
    m_timers.erase(timer);
    return 0;
  }
  return -1;
}

// Handlers may set, cancel or restart timers, mark the object or destroy it,
// so each due timer is looked up again before its event goes out.
void Object::fireTimers(int step) {
  if (m_timers.empty()) return;
  const uint64_t serial = getSerial();
  std::vector<std::string> due;
  for (const Timer &timer : m_timers)
    if (timer.due <= step) due.push_back(timer.name);
  for (const std::string &name : due) {
    auto timer = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer &t) { return t.name == name; });
    if (timer == m_timers.end() || timer->due > step) continue;
    if (timer->repeat)
      timer->due += ((step - timer->due) / timer->period + 1) * timer->period;  // late after a pause: fires once
    else
      m_timers.erase(timer);
    EventTimer event(name);
    eventHandler(&event);
    if (!isLive(this, serial) || isMarkedForDelete()) return;
  }
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

// Serialization: a 4-byte mask, then the selected attributes in the order of
// Object::Attribute::table (direction before speed, follow_path before path).
// Each row writes its field and logs it, and reads it back through the
// object's setter so that a record applies as the calls would.

namespace {

void writeField(std::stringstream &stream, const std::string &text) { writeString(stream, text); }
template <typename T>
void writeField(std::stringstream &stream, const T &value) {
  if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>)
    writeRaw(stream, value);
  else
    value.serialize(stream);
}

template <typename T>
void readField(std::stringstream &stream, T &value) {
  if constexpr (std::is_same_v<T, bool>) {
    unsigned char byte = 0;
    readRaw(stream, byte);
    value = byte != 0;
  } else if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
    readRaw(stream, value);
  } else {
    value.deserialize(stream);
  }
}

std::string fieldText(bool value) { return boolText(value); }
std::string fieldText(int value) { return std::to_string(value); }
std::string fieldText(float value) { return std::to_string(value); }  // printed as %f
std::string fieldText(Solidness value) { return solidnessToString(value); }
std::string fieldText(const std::string &value) { return value; }
template <typename T>
std::string fieldText(const T &value) {
  return value.toString();
}

void logField(const char *name, const std::string &text) {
  LogManager::getInstance().writeLog(LOG_FIELDS, "\t%s: %s", name, text.c_str());
}
void logEventName(const std::string &event, uint64_t length) {
  LogManager::getInstance().writeLog(LOG_FIELDS, "\t\t%s (size %" PRIu64 ")", event.c_str(), length);
}
void logCannotAllocate(uint64_t length) {
  LogManager::getInstance().writeLog("Object::deserialize(): Error! Cannot allocate %" PRIu64 " bytes.", length);
}

// What a row logs after reading: the value as the stream held it, or as the
// object kept it (setters may refuse or normalize what they are given).
enum Shown { AS_READ, AS_KEPT };

}  // namespace

struct Object::Attribute {
  using Write = void (*)(Object &object, std::stringstream &stream, const char *name);
  using Read = int (*)(Object &object, std::stringstream &stream, const char *name);

  uint32_t bit;
  const char *name;
  Write write;
  Read read;

  static const Attribute table[];

  template <auto member>
  static void save(Object &object, std::stringstream &stream, const char *name) {
    writeField(stream, object.*member);
    logField(name, fieldText(object.*member));
  }

  template <auto member, auto setter, Shown shown>
  static int load(Object &object, std::stringstream &stream, const char *name) {
    std::remove_reference_t<decltype(object.*member)> value{};
    readField(stream, value);
    (object.*setter)(value);
    logField(name, fieldText(shown == AS_READ ? value : object.*member));
    return 0;
  }

  static int loadId(Object &object, std::stringstream &stream, const char *name) {
    int32_t id = 0;
    readRaw(stream, id);
    if (id != object.m_id) {
      if (id >= s_next_id) s_next_id = static_cast<int32_t>(static_cast<uint32_t>(id) + 1u);
      object.m_id = id;
      object.m_modified |= ID_ATTR;
    }
    logField(name, fieldText(object.m_id));
    return 0;
  }

  static void saveEvents(Object &object, std::stringstream &stream, const char *name) {
    writeRaw(stream, object.m_event_count);
    logField(name, fieldText(object.m_event_count));
    for (int i = 0; i < object.m_event_count; ++i) {
      writeString(stream, object.m_event_name[i]);
      logEventName(object.m_event_name[i], object.m_event_name[i].size());
    }
  }

  // A record's events replace the object's registrations; a name the stream
  // cannot hold is skipped.
  static int loadEvents(Object &object, std::stringstream &stream, const char *name) {
    object.unregisterAll();
    int32_t count = 0;
    readRaw(stream, count);
    logField(name, fieldText(count));
    // Every name takes at least its 8-byte length, so a stream that has run
    // dry ends the loop whatever count it claimed.
    for (int32_t i = 0; i < count && stream.good(); ++i) {
      uint64_t length = 0;
      readRaw(stream, length);
      if (!stream.good()) break;
      LogManager::getInstance().writeLog(LOG_FIELDS, "\t\tsize %" PRIu64, length);
      if (length > bytesRemaining(stream)) {
        logCannotAllocate(length);
        continue;
      }
      std::string event(static_cast<size_t>(length), '\0');
      if (length > 0) stream.read(&event[0], static_cast<std::streamsize>(length));
      event = event.c_str();
      if (object.registerInterest(event) == -1)
        LogManager::getInstance().writeLog("Object::deserialize(): Error! Register interest: %s", event.c_str());
      logEventName(event, length);
    }
    return 0;
  }

  // A type longer than the stream ends the record.
  static int loadType(Object &object, std::stringstream &stream, const char *name) {
    uint64_t length = 0;
    readRaw(stream, length);
    if (stream.good() && length > bytesRemaining(stream)) {
      logCannotAllocate(length);
      return -1;
    }
    std::string type(stream.good() ? static_cast<size_t>(length) : 0, '\0');
    if (!type.empty()) stream.read(&type[0], static_cast<std::streamsize>(type.size()));
    object.setType(type.c_str());
    logField(name, fieldText(object.m_type));
    return 0;
  }

  // A named animation takes its sprite from the resource manager, keeping
  // the recorded frame index.
  static int loadAnimation(Object &object, std::stringstream &stream, const char *name) {
    Animation animation;
    if (animation.deserialize(stream) == -1 && stream.good()) return -1;
    object.setAnimation(animation, true);
    if (!animation.getName().empty()) {
      int index = animation.getIndex();
      object.setSprite(animation.getName());
      object.m_animation.setIndex(index);
      object.setAnimation(object.m_animation, true);
    }
    logField(name, fieldText(object.m_animation));
    return 0;
  }
};

const Object::Attribute Object::Attribute::table[] = {
    {ID_ATTR, "ID", save<&Object::m_id>, loadId},
    {ACTIVE_ATTR, "ACTIVE", save<&Object::m_is_active>, load<&Object::m_is_active, &Object::setActive, AS_READ>},
    {VISIBLE_ATTR, "VISIBLE", save<&Object::m_is_visible>, load<&Object::m_is_visible, &Object::setVisible, AS_READ>},
    {EVENTS_ATTR, "EVENTS", saveEvents, loadEvents},
    {BOX_ATTR, "BOX", save<&Object::m_box>, load<&Object::m_box, &Object::setBox, AS_READ>},
    {POSITION_ATTR, "POSITION", save<&Object::m_position>, load<&Object::m_position, &Object::setPosition, AS_READ>},
    {TYPE_ATTR, "TYPE", save<&Object::m_type>, loadType},
    {ANIMATION_ATTR, "ANIMATION", save<&Object::m_animation>, loadAnimation},
    {ALTITUDE_ATTR, "ALTITUDE", save<&Object::m_altitude>, load<&Object::m_altitude, &Object::setAltitude, AS_READ>},
    {SOLIDNESS_ATTR, "SOLIDNESS", save<&Object::m_solidness>,
     load<&Object::m_solidness, &Object::setSolidness, AS_READ>},
    {NO_SOFT_ATTR, "NO_SOFT", save<&Object::m_no_soft>, load<&Object::m_no_soft, &Object::setNoSoft, AS_KEPT>},
    {DIRECTION_ATTR, "DIRECTION", save<&Object::m_direction>,
     load<&Object::m_direction, &Object::setDirection, AS_KEPT>},
    {SPEED_ATTR, "SPEED", save<&Object::m_speed>, load<&Object::m_speed, &Object::setSpeed, AS_KEPT>},
    {ACCELERATION_ATTR, "ACCELERATION", save<&Object::m_acceleration>,
     load<&Object::m_acceleration, &Object::setAcceleration, AS_KEPT>},
    {SHAPE_ATTR, "SHAPE", save<&Object::m_shape>, load<&Object::m_shape, &Object::setShape, AS_KEPT>},
    {FOLLOW_PATH_ATTR, "FOLLOW_PATH", save<&Object::m_follow_path>,
     load<&Object::m_follow_path, &Object::setFollowPath, AS_KEPT>},
    {PATH_ATTR, "PATH", save<&Object::m_path>, load<&Object::m_path, &Object::setPath, AS_KEPT>},
    {AVOID_COLLISIONS_ATTR, "AVOID_COLLISIONS", save<&Object::m_avoid_collisions>,
     load<&Object::m_avoid_collisions, &Object::setAvoidCollisions, AS_KEPT>},
};

int Object::serialize(std::stringstream &stream, unsigned int mask) {
  const LogManager &log = LogManager::getInstance();
  log.writeLog(LOG_RECORD, "Object::serialize(): attr is %u, modified is %u (%s)", mask, m_modified,
               boolText(m_modified != 0));
  log.writeLog(LOG_FIELDS, "\t%s", maskToString(mask).c_str());
  uint32_t select = mask != 0 ? mask : m_modified;
  writeRaw(stream, select);
  for (const Attribute &attribute : Attribute::table) {
    if (!(select & attribute.bit)) continue;
    m_modified &= ~attribute.bit;
    attribute.write(*this, stream, attribute.name);
  }
  return streamCheck("Object::serialize()", stream);
}

int Object::deserialize(std::stringstream &stream, unsigned int *p_mask) {
  const LogManager &log = LogManager::getInstance();
  unsigned int local_mask = 0;
  unsigned int &mask = p_mask ? *p_mask : local_mask;
  mask = 0;
  readRaw(stream, mask);
  log.writeLog(LOG_RECORD, "Object::deserialize(): attr %u (%s)", mask, maskToString(mask).c_str());
  for (const Attribute &attribute : Attribute::table) {
    if ((mask & attribute.bit) && attribute.read(*this, stream, attribute.name) == -1) return -1;
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
