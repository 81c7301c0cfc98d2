/// @file
/// WorldManager, and the conversions between world and view cells.
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

/// Owns every object in the world, moves them each frame with collisions,
/// deletes those marked for deletion and draws them by altitude; keeps the
/// world boundary and the view, and the interest in every event type that no
/// other manager handles (such as "ts-view" and a game's own types).
class WorldManager : public Manager {
 public:
  /// The one world manager.
  static WorldManager &getInstance();

  /// Every event type except keyboard, mouse and step (other managers keep
  /// them) and collision and out (sent straight to objects); a refused type
  /// is logged.
  bool isValid(std::string event_type) const override;
  /// Starts an empty world (boundary and view empty, no slack, no followed
  /// object) and its scene graph; 0, or -1 when already started or the scene
  /// graph fails (both logged).
  int startUp() override;
  /// Destroys every object in the world, then releases the scene graph.
  void shutDown() override;

  /// Adds object (ownership taken) to the world; objects call this from their
  /// constructor. 0, or -1 when the world is not started (logged at level 2;
  /// the object is then owned by nobody).
  int insertObject(Object *object);
  /// Takes object out of the world without destroying it (objects call this
  /// from their destructor); stops the view following it. 0, or -1 when it
  /// was not in the world.
  int removeObject(Object *object);
  /// Has object destroyed at the end of the current (or next) update;
  /// marking it again before then changes nothing. 0, or -1 for a null
  /// object (logged).
  int markForDelete(Object *object);
  /// Marks every object of the type for deletion, active and inactive.
  /// Returns how many it marked now (objects marked already are not counted).
  int markAllForDelete(const std::string &type);
  /// Whether the object is marked for deletion in this frame. A marked object
  /// is out of play until it is destroyed: it does not move, collides with
  /// nothing, blocks nothing and receives no collision events.
  bool isMarkedForDelete(const Object *object) const;
  /// Moves every active object by its velocity (with collisions and "ts-out"
  /// events), steps paths, applies acceleration, then destroys the objects
  /// marked for deletion. Handlers may create, mark or destroy objects.
  void update();
  /// Draws the visible objects within the view (view objects always), altitude 0 first.
  void draw();
  /// Moves the object to where unless a collision blocks it: solid objects
  /// get "ts-collision" events (both sides), a HARD one blocked by a HARD one
  /// stays (or slides, see Object::setAvoidCollisions()), and an object that
  /// leaves the boundary gets "ts-out". Objects marked for deletion take no
  /// part: a marked object does not move (-1), and a marked obstacle neither
  /// blocks nor gets events. 0, or -1 if blocked or object is null.
  int moveObject(Object *object, Vector where);
  /// The solid objects other than object that its box would overlap at
  /// where, leaving out those marked for deletion; none for a marked object.
  ObjectList getCollisions(const Object *object, Vector where) const;
  /// The active objects of the type, in insertion order (owned by the
  /// world), including those marked for deletion in this frame (ask
  /// Object::isMarkedForDelete() to tell them apart).
  ObjectList objectsOfType(std::string type) const;

  /// Sets the world's extent in cells; restarts the scene graph so the
  /// collision grid fits the new extent.
  void setBoundary(Box boundary);
  /// The world's extent in cells.
  Box getBoundary() const { return m_boundary; }
  /// Sets the part of the world shown; the display draws world positions
  /// relative to the view's corner.
  void setView(Box view);
  /// The part of the world shown, in world cells.
  Box getView() const { return m_view; }
  /// Centres the view on the position, kept within the boundary.
  void setViewPosition(Vector view_pos);
  /// Sets how far (a fraction 0 to 1 of the view, per axis) a followed object
  /// may move from the centre before the view scrolls; outside 0..1 is
  /// logged as a warning and kept.
  void setViewSlack(Vector slack);
  /// The view slack, fractions of the view.
  Vector getViewSlack() const { return m_view_slack; }
  /// The object (not owned) the view keeps in sight as it moves, centring on
  /// it now; none (nullptr) stops following. -1, with a warning, for an
  /// object that is not in the world.
  int setViewFollowing(Object *object);
  /// The followed object (owned by the world), or null.
  Object *getViewFollowing() const { return m_p_view_following; }
  /// The scene graph (owned by the world manager).
  SceneGraph &getSceneGraph() { return m_scene_graph; }
  /// The scene graph, read-only.
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

/// World cells to cells of the view (the window): minus the view's corner.
Vector worldToView(Vector world_pos);
/// View cells to world cells: plus the view's corner.
Vector viewToWorld(Vector view_pos);

}  // namespace ts

#endif
