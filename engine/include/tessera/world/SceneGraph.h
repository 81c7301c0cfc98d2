/// @file
/// SceneGraph, the world's index of its objects.
#ifndef TS_SCENE_GRAPH_H
#define TS_SCENE_GRAPH_H

#include <map>
#include <string>

#include <tessera/world/Grid.h>
#include <tessera/world/Object.h>
#include <tessera/world/ObjectList.h>

namespace ts {

/// The world's index of its objects: active and inactive objects, solid
/// objects and the collision grid, visible objects by altitude, and active
/// objects by type. Objects keep it current by calling the update operations
/// from their setters before they store the new value, so every update reads
/// the object's old state and gets the new value as an argument. Owned by
/// the world manager; it owns no object. The update and insert operations
/// return 0, or -1 with a log line naming the list that failed.
class SceneGraph {
 public:
  /// Empty, the grid not allocated.
  SceneGraph();
  /// Clears the type index and allocates the grid for the current boundary; 0 or -1.
  int startUp();
  /// Clears the type index and releases the grid; the object lists stay.
  void shutDown();
  /// Files the active objects under their types and puts the solid ones into
  /// the grid again, after a restart emptied both.
  void reindex();

  /// Files a new object (active or not) in every list it belongs to.
  int insertObject(Object *object);
  /// Takes object out of every list; -1 (logged) when it was in none.
  int removeObject(Object *object);

  /// A copy of the list of active objects.
  ObjectList activeObjects() const { return m_objects; }
  /// A copy of the list of inactive objects.
  ObjectList inactiveObjects() const { return m_inactive_objects; }
  /// A copy of the list of active HARD and SOFT objects.
  ObjectList solidObjects() const { return m_solid_objects; }
  /// A copy of the visible active objects at altitude; empty, with a warning,
  /// outside 0..MAX_ALTITUDE.
  ObjectList visibleObjects(int altitude) const;
  /// A copy of the active objects of the type; empty for none.
  ObjectList objectsOfType(std::string type) const;
  /// As Grid::getCollisions().
  ObjectList getCollisions(const Object *object, Vector where) const;
  /// The collision grid.
  const Grid &getGrid() const { return m_grid; }

  /// Moves object into the active lists or out of them.
  int updateActive(Object *object, bool active);
  /// Adds object to its altitude's visible list or takes it out.
  int updateVisible(Object *object, bool visible);
  /// Moves a visible object to the list of altitude; -1 outside 0..MAX_ALTITUDE.
  int updateAltitude(Object *object, int altitude);
  /// Moves object into or out of the solid list and the grid.
  int updateSolidness(Object *object, Solidness solidness);
  /// Files an active object under its new type.
  int updateType(Object *object, std::string type);
  /// Moves a solid active object within the grid.
  int updatePosition(Object *object, Vector position);

  SceneGraph(const SceneGraph &) = delete;
  SceneGraph &operator=(const SceneGraph &) = delete;

  /// Once the game is over objects are torn down in any order, and a missing
  /// entry is expected: those failures are then neither logged nor counted.
  /// The game manager tells the scene graphs whenever its flag changes.
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
