/// @file
/// EventCollision, "ts-collision".
#ifndef TS_EVENT_COLLISION_H
#define TS_EVENT_COLLISION_H

#include <tessera/core/Event.h>
#include <tessera/core/Vector.h>

namespace ts {

class Object;

/// Sent by the world manager straight to both objects of a collision (no
/// registration needed); owns neither object.
class EventCollision : public Event {
 public:
  /// object1 moving to position runs into object2.
  EventCollision(Object *object1, Object *object2, Vector position);
  /// The object that moved (owned by the world; valid during delivery).
  Object *getObject1() const { return m_p_obj1; }
  /// The object run into (owned by the world; valid during delivery).
  Object *getObject2() const { return m_p_obj2; }
  /// Where object1 was moving to, in world cells.
  Vector getPosition() const { return m_pos; }

 private:
  Vector m_pos;
  Object *m_p_obj1;
  Object *m_p_obj2;
};

}  // namespace ts

#endif
