// Sent straight to both objects of a collision; owns neither.
#ifndef TS_EVENT_COLLISION_H
#define TS_EVENT_COLLISION_H

#include <tessera/core/Event.h>
#include <tessera/core/Vector.h>

namespace ts {

class Object;

class EventCollision : public Event {
 public:
  EventCollision(Object *object1, Object *object2, Vector position);
  Object *getObject1() const { return m_p_obj1; }
  Object *getObject2() const { return m_p_obj2; }
  Vector getPosition() const { return m_pos; }

 private:
  Vector m_pos;
  Object *m_p_obj1;
  Object *m_p_obj2;
};

}  // namespace ts

#endif
