// The world's index of its objects: active and inactive objects, solid
// objects and the collision grid, visible objects by altitude, and active
// objects by type. Objects keep it current by calling the update operations
// from their setters before they store the new value, so every update reads
// the object's old state and gets the new value as an argument.
#ifndef TS_SCENE_GRAPH_H
#define TS_SCENE_GRAPH_H

#include <map>
#include <string>

#include <tessera/world/Grid.h>
#include <tessera/world/Object.h>
#include <tessera/world/ObjectList.h>

namespace ts {

class SceneGraph {
 public:
  SceneGraph();
  // Clears the type index and allocates the grid for the current boundary.
  int startUp();
  // Clears the type index and releases the grid; the object lists stay.
  void shutDown();
  // Files the active objects under their types and puts the solid ones into
  // the grid again, after a restart emptied both.
  void reindex();

  int insertObject(Object *object);
  int removeObject(Object *object);

  ObjectList activeObjects() const { return m_objects; }
  ObjectList inactiveObjects() const { return m_inactive_objects; }
  ObjectList solidObjects() const { return m_solid_objects; }
  ObjectList visibleObjects(int altitude) const;
  ObjectList objectsOfType(std::string type) const;
  ObjectList getCollisions(const Object *object, Vector where) const;
  const Grid &getGrid() const { return m_grid; }

  int updateActive(Object *object, bool active);
  int updateVisible(Object *object, bool visible);
  int updateAltitude(Object *object, int altitude);
  int updateSolidness(Object *object, Solidness solidness);
  int updateType(Object *object, std::string type);
  int updatePosition(Object *object, Vector position);

  SceneGraph(const SceneGraph &) = delete;
  SceneGraph &operator=(const SceneGraph &) = delete;

  // Once the game is over objects are torn down in any order, and a missing
  // entry is expected: those failures are then neither logged nor counted.
  // The game manager tells the scene graphs whenever its flag changes.
  static void setGameOver(bool game_over) { s_game_over = game_over; }

 private:
  // The visible list of an altitude, or none outside 0..MAX_ALTITUDE.
  ObjectList *visibleList(int altitude);
  int removeFromType(Object *object);
  // Moves an object into the active sets (active) or out of them into the
  // inactive list, attempting every step.
  int moveActive(Object *object, bool active);

  ObjectList m_objects;
  ObjectList m_solid_objects;
  ObjectList m_visible_objects[MAX_ALTITUDE + 1];
  ObjectList m_inactive_objects;
  std::map<std::string, ObjectList> m_type_map;
  Grid m_grid;
  static bool s_game_over;
};

}  // namespace ts

#endif
