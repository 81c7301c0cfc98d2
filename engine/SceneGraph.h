// The world's index of its objects: active, inactive, solid, visible by
// altitude and by type.
#ifndef TS_SCENE_GRAPH_H
#define TS_SCENE_GRAPH_H

#include <map>
#include <string>

#include "Object.h"
#include "ObjectList.h"

namespace ts {

class SceneGraph {
 public:
  SceneGraph();
  int startUp();
  void shutDown();
  int insertObject(Object *object);
  int removeObject(Object *object);
  ObjectList activeObjects() const { return m_objects; }
  ObjectList inactiveObjects() const { return m_inactive_objects; }
  ObjectList visibleObjects(int altitude) const;
  ObjectList objectsOfType(std::string type) const;
  ObjectList getCollisions(const Object *object, Vector where) const;
  int updateActive(Object *object, bool active);
  int updateVisible(Object *object, bool visible);
  int updateAltitude(Object *object, int altitude);
  int updateSolidness(Object *object, Solidness solidness);
  int updateType(Object *object, std::string type);
  int updatePosition(Object *object, Vector position);

 private:
  ObjectList m_objects;
  ObjectList m_solid_objects;
  ObjectList m_visible_objects[MAX_ALTITUDE + 1];
  ObjectList m_inactive_objects;
  std::map<std::string, ObjectList> m_type_map;
};

}  // namespace ts

#endif
