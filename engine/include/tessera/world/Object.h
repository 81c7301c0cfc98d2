/// @file
/// Object, the base of everything in the game world, its solidness and attribute bits.
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

/// How an object takes part in collisions: HARD objects collide and block
/// each other, SOFT ones collide (get the events) but never block, SPECTRAL
/// ones neither collide nor block.
enum Solidness : int32_t {
  HARD = 0,
  SOFT = 1,
  SPECTRAL = 2,
};

/// Highest altitude; objects are drawn altitude 0 first, MAX_ALTITUDE last.
const int MAX_ALTITUDE = 4;
/// The most event types one object registers interest in.
const int MAX_OBJ_EVENTS = 100;

/// Bits of the modified-attribute mask, one per attribute of the serialized
/// record (getModified(), serialize()). ID_ATTR: the id.
const uint32_t ID_ATTR = 0x1;
const uint32_t ACTIVE_ATTR = 0x2;                ///< setActive()
const uint32_t VISIBLE_ATTR = 0x4;               ///< setVisible()
const uint32_t EVENTS_ATTR = 0x8;                ///< the event types registered
const uint32_t BOX_ATTR = 0x10;                  ///< setBox()
const uint32_t POSITION_ATTR = 0x20;             ///< setPosition()
const uint32_t TYPE_ATTR = 0x40;                 ///< setType()
const uint32_t ANIMATION_ATTR = 0x80;            ///< setAnimation()
const uint32_t ALTITUDE_ATTR = 0x100;            ///< setAltitude()
const uint32_t SOLIDNESS_ATTR = 0x200;           ///< setSolidness()
const uint32_t NO_SOFT_ATTR = 0x400;             ///< setNoSoft()
const uint32_t SPEED_ATTR = 0x800;               ///< setSpeed(), setVelocity()
const uint32_t DIRECTION_ATTR = 0x1000;          ///< setVelocity() (setDirection() does not mark it)
const uint32_t ACCELERATION_ATTR = 0x2000;       ///< setAcceleration()
const uint32_t SHAPE_ATTR = 0x4000;              ///< setShape()
const uint32_t PATH_ATTR = 0x8000;               ///< setPath(), and each waypoint reached
const uint32_t FOLLOW_PATH_ATTR = 0x10000;       ///< setFollowPath()
const uint32_t AVOID_COLLISIONS_ATTR = 0x20000;  ///< setAvoidCollisions()
const uint32_t ALL_OBJECT_ATTR = 0x3FFFF;        ///< every attribute bit of Object

/// Base class of everything in the game world. Create objects with new:
/// constructing one hands it to the world manager, which owns it from then
/// on (never delete it yourself). WorldManager::markForDelete() has it
/// destroyed at the end of that frame's update; whatever is left when the
/// world manager stops is destroyed then. Setters tell the world's scene
/// graph first, then store the value and mark its bit in the modified mask.
class Object : public EventHandler {
 public:
  /// A new object with the next id: type "(Undefined)", active, visible, at
  /// (1, 1), HARD, altitude 2, a box of just under one cell, every attribute
  /// marked modified; inserted into the world.
  Object();
  /// Withdraws every interest, drops a pending path search and leaves the
  /// world. Called by the world manager; see the class notes.
  ~Object() override;

  /// Sets the type name other objects find it by (WorldManager::objectsOfType()).
  virtual void setType(std::string type);
  /// Moves the object to position (world cells) without collision checks; 0.
  virtual int setPosition(Vector position);
  /// Handles the path event: a found path is taken and followed, and the
  /// search is dropped either way; returns 1 for it, 0 for other events.
  /// Derived objects override this for their own events (and call it for
  /// "ts-path" when they use path searches).
  int eventHandler(const Event *p_event) override;
  /// Sets the solidness; 0, or -1 for a value that is not HARD, SOFT or
  /// SPECTRAL (logged) or when the scene graph refuses it.
  virtual int setSolidness(Solidness solidness);
  /// Whether a HARD object blocked by a HARD obstacle slides along it (the
  /// part of its motion into the obstacle dropped) instead of stopping.
  virtual void setAvoidCollisions(bool avoid = true);
  /// Sets the drawing layer, 0 to MAX_ALTITUDE; 0, or -1 for another value
  /// ("Object::setAltitude(): Altitude N not in range [0,4].  Ignored.").
  virtual int setAltitude(int altitude);
  /// Sets the direction of motion (normalized; the zero vector stops it).
  virtual void setDirection(Vector direction);
  /// Sets speed (the length of velocity) and direction in one; cells per step.
  virtual void setVelocity(Vector velocity);
  /// Sets what the world adds to the velocity every step (cells per step²).
  virtual void setAcceleration(Vector acceleration);
  /// Whether the world draws the object.
  virtual bool isVisible() const;
  /// Sets whether the object takes part in the world: an inactive object is
  /// not moved, drawn, collided or given events. 0, or -1 when the scene
  /// graph refuses.
  virtual int setActive(bool active = true);
  /// Sets the bounding box, relative to the position (cells).
  virtual void setBox(Box box);
  /// Shows the resource manager's sprite label (not owned) from its first
  /// frame and sets the box to its size; 0, or -1 with a warning when there
  /// is no such sprite.
  virtual int setSprite(std::string label);
  /// Sets the animation; with set_box the box becomes the sprite's size.
  virtual void setAnimation(Animation animation, bool set_box = true);
  /// Draws the animation's current frame at the position (advancing it) and
  /// the shape if one is set; the animation's result (0, -1 when the display
  /// refused). The world calls it; derived objects may draw more.
  virtual int draw();
  /// Appends a record of the attributes in mask (0: those modified since the
  /// last record) to stream and clears their modified bits; 0, or -1 with a
  /// log line when the stream failed.
  virtual int serialize(std::stringstream &stream, unsigned int mask = 0);
  /// Reads a record and applies it through the setters; the record's mask
  /// goes to *p_mask when given. The modified mask is cleared. 0, or -1 with a
  /// log line on a short or failed stream or a length the stream cannot hold.
  virtual int deserialize(std::stringstream &stream, unsigned int *p_mask = nullptr);
  /// Replaces the modified-attribute mask.
  virtual void setModified(unsigned int mask);
  /// The attributes changed since the last record (the *_ATTR bits).
  virtual unsigned int getModified() const;
  /// Sets the shape drawn with the object (UNDEFINED_SHAPE: none).
  virtual void setShape(Shape shape);
  /// Whether the object follows its path; turning it on points it at the next
  /// waypoint.
  virtual void setFollowPath(bool follow = true);

  /// The object's id, unique among the objects created (counts up from 1).
  int getId() const override { return m_id; }
  /// The type name.
  std::string getType() const override { return m_type; }
  /// Whether the object takes part in the world.
  bool isActive() const override { return m_is_active; }
  /// The bounding box relative to the position; see getWorldBox().
  Box getBox() const { return m_box; }
  /// Position in world cells.
  Vector getPosition() const { return m_position; }
  /// Unit direction of motion, or zero.
  Vector getDirection() const { return m_direction; }
  /// Speed in cells per step.
  float getSpeed() const { return m_speed; }
  /// Direction times speed, in cells per step.
  Vector getVelocity() const;
  /// Acceleration in cells per step².
  Vector getAcceleration() const { return m_acceleration; }
  /// Where the object will try to move this frame: position + velocity.
  Vector predictPosition() const;
  /// Drawing layer, 0 to MAX_ALTITUDE.
  int getAltitude() const { return m_altitude; }
  /// The solidness.
  Solidness getSolidness() const { return m_solidness; }
  /// HARD or SOFT.
  bool isSolid() const;
  /// Whether the object refuses to move onto SOFT objects.
  bool getNoSoft() const { return m_no_soft; }
  /// Whether the object slides along HARD obstacles; see setAvoidCollisions().
  bool getAvoidCollisions() const { return m_avoid_collisions; }
  /// Whether any attribute changed since the last record.
  bool isModified() const { return m_modified != 0; }
  /// A copy of the animation.
  Animation getAnimation() const { return m_animation; }
  /// A copy of the shape.
  Shape getShape() const { return m_shape; }
  /// A copy of the path.
  Path getPath() const { return m_path; }
  /// Whether the object follows its path.
  bool getFollowPath() const { return m_follow_path; }
  /// Event types the object is registered for.
  int getEventCount() const { return m_event_count; }
  /// The index-th event type registered; empty out of range.
  std::string getEventName(int index) const;

  /// Sets the speed in cells per step.
  void setSpeed(float speed);
  /// Whether the object refuses to move onto SOFT objects.
  void setNoSoft(bool no_soft = true);
  /// Sets whether the world draws the object.
  void setVisible(bool visible = true);
  /// Sets the path (a copy) to follow with setFollowPath().
  void setPath(Path path);

  /// Registers for event_type with the manager that keeps it; 0, or -1 when
  /// MAX_OBJ_EVENTS are registered (logged) or the manager refuses (logged
  /// there). Interest is withdrawn when the object is destroyed.
  int registerInterest(std::string event_type);
  /// Withdraws the interest; 0, or -1 when it was not registered (logged:
  /// "Object::unregisterInterest(): event '<type>' not previously registered").
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

  /// Per-frame steps the world manager runs after moving the object: takes
  /// each waypoint within reach (3/4 of the speed), heads for the next, and
  /// stops following at the path's end.
  void stepAlongPath();
  /// Adds the acceleration to the velocity (world manager, every step).
  void applyAcceleration();

  /// Makes search (ownership taken) the object's pending path search;
  /// replacing one destroys the old, and so does the search's result event.
  void setPathSearch(PathSearch *search);
  /// The pending path search (owned by the object), or null.
  PathSearch *getPathSearch() const { return m_p_path_search.get(); }

  /// Whether object still exists: every construction gets a distinct serial
  /// (getSerial()). A walk over a copied list of objects records it and asks
  /// isLive() before touching an entry, so an object destroyed during the
  /// walk is skipped even if its address was reused.
  static bool isLive(const Object *object, uint64_t serial);

  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;

 protected:
  /// Marks bits in the modified mask; bits 18 and above belong to derived classes.
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

/// The object's box in world cells, at its position.
Box getWorldBox(const Object *object);
/// The object's box in world cells, were it at where.
Box getWorldBox(const Object *object, Vector where);
/// Side of obstacle that mover runs into along its velocity: components -1,
/// 0 or 1; (0, 0) when they would not meet (logged at level 1).
Vector getNormal(const Object *mover, const Object *obstacle);

}  // namespace ts

#endif
