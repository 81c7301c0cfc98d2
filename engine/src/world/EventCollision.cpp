#include <tessera/world/EventCollision.h>

namespace ts {

EventCollision::EventCollision(Object *object1, Object *object2, Vector position)
    : m_pos(position), m_p_obj1(object1), m_p_obj2(object2) {
  setType(COLLISION_EVENT);
}

}  // namespace ts
