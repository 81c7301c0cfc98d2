// Owns every object in the world, moves them each frame with collisions,
// deletes those marked for deletion and draws them by altitude.
#ifndef TS_WORLD_MANAGER_H
#define TS_WORLD_MANAGER_H

#include "Box.h"
#include "Manager.h"
#include "ObjectList.h"
#include "SceneGraph.h"

namespace ts {

class WorldManager : public Manager {
 public:
  static WorldManager &getInstance();

  int startUp() override;
  void shutDown() override;
  bool isValid(std::string event_type) const override;

  int insertObject(Object *object);
  int removeObject(Object *object);
  int markForDelete(Object *object);
  void update();
  void draw();
  int moveObject(Object *object, Vector where);
  ObjectList getCollisions(const Object *object, Vector where) const;
  ObjectList objectsOfType(std::string type) const;

  void setBoundary(Box boundary);
  Box getBoundary() const { return m_boundary; }
  void setView(Box view) { m_view = view; }
  Box getView() const { return m_view; }
  void setViewPosition(Vector view_pos);
  void setViewSlack(Vector slack);
  Vector getViewSlack() const { return m_view_slack; }
  SceneGraph &getSceneGraph() { return m_scene_graph; }

 private:
  WorldManager();

  SceneGraph m_scene_graph;
  ObjectList m_deletions;
  Object *m_p_view_following;
  Box m_boundary;
  Box m_view;
  Vector m_view_slack;
};

}  // namespace ts

#endif
