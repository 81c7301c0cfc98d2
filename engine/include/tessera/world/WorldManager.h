// Owns every object in the world, moves them each frame with collisions,
// deletes those marked for deletion and draws them by altitude; keeps the
// world boundary and the view, and the interest in every event type that no
// other manager handles.
#ifndef TS_WORLD_MANAGER_H
#define TS_WORLD_MANAGER_H

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include <tessera/core/Box.h>
#include <tessera/core/EventHandler.h>
#include <tessera/core/Manager.h>
#include <tessera/world/ObjectList.h>
#include <tessera/world/SceneGraph.h>

namespace ts {

class WorldManager : public Manager {
 public:
  static WorldManager &getInstance();

  bool isValid(std::string event_type) const override;
  int startUp() override;
  // Destroys every object in the world, then releases the scene graph.
  void shutDown() override;

  int insertObject(Object *object);
  int removeObject(Object *object);
  // The object is destroyed at the end of the current (or next) update;
  // marking it again before then changes nothing.
  int markForDelete(Object *object);
  /// Marks every object of the type for deletion, active and inactive.
  /// Returns how many it marked now (objects marked already are not counted).
  int markAllForDelete(const std::string &type);
  /// Whether the object is marked for deletion in this frame. A marked object
  /// is out of play until it is destroyed: it does not move, collides with
  /// nothing, blocks nothing and receives no collision events.
  bool isMarkedForDelete(const Object *object) const;
  // Moves every active object by its velocity, steps paths, applies
  // acceleration, then destroys the objects marked for deletion.
  void update();
  // Draws the visible objects within the view, altitude 0 first.
  void draw();
  // Moves the object to where unless a collision blocks it; -1 if blocked.
  /// An object marked for deletion does not move (-1).
  int moveObject(Object *object, Vector where);
  /// The solid objects the object would overlap at where, leaving out those
  /// marked for deletion; none for a marked object.
  ObjectList getCollisions(const Object *object, Vector where) const;
  /// The active objects of the type, including those marked for deletion in
  /// this frame (ask Object::isMarkedForDelete() to tell them apart).
  ObjectList objectsOfType(std::string type) const;

  // Restarts the scene graph so the collision grid fits the new extent.
  void setBoundary(Box boundary);
  Box getBoundary() const { return m_boundary; }
  // The display draws world positions relative to the view's corner.
  void setView(Box view);
  Box getView() const { return m_view; }
  // Centres the view on the position, kept within the boundary.
  void setViewPosition(Vector view_pos);
  void setViewSlack(Vector slack);
  Vector getViewSlack() const { return m_view_slack; }
  // The object the view keeps in sight as it moves; none (nullptr) stops
  // following. -1 for an object that is not in the world.
  int setViewFollowing(Object *object);
  Object *getViewFollowing() const { return m_p_view_following; }
  SceneGraph &getSceneGraph() { return m_scene_graph; }
  const SceneGraph &getSceneGraph() const { return m_scene_graph; }

 private:
  WorldManager();

  // An object together with its construction serial, so that a walk can
  // tell whether the object has been destroyed since it was listed.
  using Entry = std::pair<Object *, uint64_t>;
  static LiveSnapshot<Object> snapshot(const ObjectList &list);

  void moveStep(Object *object);
  void deleteMarked();
  int avoidObstacle(Object *object, ObjectList &collisions, Vector &where);
  bool reportCollisions(Object *object, const ObjectList &collisions, Vector where, uint64_t serial);
  void followObject(const Object *object);

  SceneGraph m_scene_graph;
  // Marked objects in marking order, with the serial each had when marked.
  std::vector<Entry> m_deletions;
  std::unordered_map<const Object *, uint64_t> m_marked;
  Object *m_p_view_following;
  Box m_boundary;
  Box m_view;
  Vector m_view_slack;
};

// Between world cells and cells of the view (the window).
Vector worldToView(Vector world_pos);
Vector viewToWorld(Vector view_pos);

}  // namespace ts

#endif
