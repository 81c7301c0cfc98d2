// Base class of everything in the game world. Constructing an object hands
// it to the world manager, which owns it until it is deleted.
#ifndef TS_OBJECT_H
#define TS_OBJECT_H

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <tessera/core/EventHandler.h>

#include <tessera/core/Box.h>
#include <tessera/core/Color.h>
#include <tessera/core/Event.h>
#include <tessera/core/Vector.h>
#include <tessera/graphics/Animation.h>
#include <tessera/graphics/Shape.h>
#include <tessera/world/Path.h>

namespace ts {

class PathSearch;

enum Solidness : int32_t {
  HARD = 0,
  SOFT = 1,
  SPECTRAL = 2,
};

const int MAX_ALTITUDE = 4;
const int MAX_OBJ_EVENTS = 100;

// Bits of the modified-attribute mask.
const uint32_t ID_ATTR = 0x1;
const uint32_t ACTIVE_ATTR = 0x2;
const uint32_t VISIBLE_ATTR = 0x4;
const uint32_t EVENTS_ATTR = 0x8;
const uint32_t BOX_ATTR = 0x10;
const uint32_t POSITION_ATTR = 0x20;
const uint32_t TYPE_ATTR = 0x40;
const uint32_t ANIMATION_ATTR = 0x80;
const uint32_t ALTITUDE_ATTR = 0x100;
const uint32_t SOLIDNESS_ATTR = 0x200;
const uint32_t NO_SOFT_ATTR = 0x400;
const uint32_t SPEED_ATTR = 0x800;
const uint32_t DIRECTION_ATTR = 0x1000;
const uint32_t ACCELERATION_ATTR = 0x2000;
const uint32_t SHAPE_ATTR = 0x4000;
const uint32_t PATH_ATTR = 0x8000;
const uint32_t FOLLOW_PATH_ATTR = 0x10000;
const uint32_t AVOID_COLLISIONS_ATTR = 0x20000;
const uint32_t ALL_OBJECT_ATTR = 0x3FFFF;

class Object : public EventHandler {
 public:
  Object();
  ~Object() override;

  virtual void setType(std::string type);
  virtual int setPosition(Vector position);
  int eventHandler(const Event *p_event) override;
  virtual int setSolidness(Solidness solidness);
  virtual void setAvoidCollisions(bool avoid = true);
  virtual int setAltitude(int altitude);
  virtual void setDirection(Vector direction);
  virtual void setVelocity(Vector velocity);
  virtual void setAcceleration(Vector acceleration);
  virtual bool isVisible() const;
  virtual int setActive(bool active = true);
  virtual void setBox(Box box);
  virtual int setSprite(std::string label);
  virtual void setAnimation(Animation animation, bool set_box = true);
  virtual int draw();
  virtual int serialize(std::stringstream &stream, unsigned int mask = 0);
  virtual int deserialize(std::stringstream &stream, unsigned int *p_mask = nullptr);
  virtual void setModified(unsigned int mask);
  virtual unsigned int getModified() const;
  virtual void setShape(Shape shape);
  virtual void setFollowPath(bool follow = true);

  int getId() const override { return m_id; }
  std::string getType() const override { return m_type; }
  bool isActive() const override { return m_is_active; }
  Box getBox() const { return m_box; }
  Vector getPosition() const { return m_position; }
  Vector getDirection() const { return m_direction; }
  float getSpeed() const { return m_speed; }
  Vector getVelocity() const;
  Vector getAcceleration() const { return m_acceleration; }
  // Where the object will try to move this frame: position + velocity.
  Vector predictPosition() const;
  int getAltitude() const { return m_altitude; }
  Solidness getSolidness() const { return m_solidness; }
  bool isSolid() const;
  bool getNoSoft() const { return m_no_soft; }
  bool getAvoidCollisions() const { return m_avoid_collisions; }
  bool isModified() const { return m_modified != 0; }
  Animation getAnimation() const { return m_animation; }
  Shape getShape() const { return m_shape; }
  Path getPath() const { return m_path; }
  bool getFollowPath() const { return m_follow_path; }
  int getEventCount() const { return m_event_count; }
  std::string getEventName(int index) const;

  void setSpeed(float speed);
  void setNoSoft(bool no_soft = true);
  void setVisible(bool visible = true);
  void setPath(Path path);

  int registerInterest(std::string event_type);
  int unregisterInterest(std::string event_type);

  /// Whether the object is marked for deletion (WorldManager::markForDelete)
  /// in this frame: it is then out of play until the frame's update destroys
  /// it (no moves, no collisions, no collision events, no timers).
  bool isMarkedForDelete() const;

  /// Draws the sprite in this colour instead of the sprite's own, so that
  /// one sprite serves objects of several colours.
  void setSpriteColor(Color color);
  /// Back to the sprite's own colour.
  void clearSpriteColor();
  /// The colour set by setSpriteColor(), or none.
  std::optional<Color> getSpriteColor() const { return m_sprite_color; }

  /// Asks for a "ts-timer" event (EventTimer, carrying the name) in the
  /// world update `steps` game steps from now: a timer set in step s fires
  /// in the update of step s + steps. Repeating, it fires every `steps`
  /// steps until cancelled. Setting a name again restarts that timer. Timers
  /// count the game loop's steps, pause while the object is inactive (they
  /// fire late then, once), stop when it is marked for deletion and die with
  /// it. Returns 0, or -1 with a log line for steps below 1.
  int setTimer(const std::string &name, int steps, bool repeat = false);
  /// Stops the named timer; -1 if the object has none of that name.
  int cancelTimer(const std::string &name);
  /// Sends the object the events of its timers due at `step` (the world
  /// manager calls this once per update).
  void fireTimers(int step);

  // Per-frame steps the world manager runs after moving the object.
  void stepAlongPath();
  void applyAcceleration();

  // A pending path search, owned by the object; replacing one destroys the
  // old, and so does the search's result event.
  void setPathSearch(PathSearch *search);
  PathSearch *getPathSearch() const { return m_p_path_search.get(); }

  // Every construction gets a distinct serial (getSerial()). A walk over a
  // copied list of objects records it and asks isLive() before touching an
  // entry, so an object destroyed during the walk is skipped even if its
  // address was reused.
  static bool isLive(const Object *object, uint64_t serial);

  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;

 protected:
  // Bits 18 and above belong to derived classes.
  void markModified(uint32_t bits) { m_modified |= bits; }

 private:
  // The record's attributes, one row per mask bit in stream order; the
  // rows write and read the fields below (Object.cpp).
  struct Attribute;
  // A named timer: due at a step, and again every `period` steps if repeating.
  struct Timer {
    std::string name;
    int64_t due;
    int period;
    bool repeat;
  };

  void dropPathSearch();
  void unregisterAll();

  int m_id;
  std::string m_type;
  bool m_is_active;
  bool m_is_visible;
  Box m_box;
  Vector m_position;
  Vector m_direction;
  float m_speed;
  Vector m_acceleration;
  int m_altitude;
  Solidness m_solidness;
  Animation m_animation;
  bool m_no_soft;
  int m_event_count;
  std::string m_event_name[MAX_OBJ_EVENTS];
  uint32_t m_modified;
  Shape m_shape;
  std::unique_ptr<PathSearch> m_p_path_search;
  Path m_path;
  bool m_follow_path;
  bool m_avoid_collisions;
  std::optional<Color> m_sprite_color;
  std::vector<Timer> m_timers;
};

// The object's box in world cells, at its position or at where.
Box getWorldBox(const Object *object);
Box getWorldBox(const Object *object, Vector where);
// Side of the obstacle the mover runs into: components -1, 0 or 1.
Vector getNormal(const Object *mover, const Object *obstacle);

}  // namespace ts

#endif
