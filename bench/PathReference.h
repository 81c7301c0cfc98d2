// A path search written as plainly as possible, with the open and closed
// sets kept as linear lists, to check the engine's search against (tests) and
// to time it against (benchmarks). The open list is scanned from its last
// entry to its first and the choice changes only on a strictly smaller f.
#ifndef TESSERA_PATH_REFERENCE_H
#define TESSERA_PATH_REFERENCE_H

#include <algorithm>
#include <cmath>
#include <vector>

#include <tessera/core/Geometry.h>
#include <tessera/paths/PathFind.h>
#include <tessera/world/Object.h>
#include <tessera/world/ObjectList.h>
#include <tessera/world/WorldManager.h>

namespace path_reference {

class ListPathFind {
 public:
  ListPathFind(ts::Object *object, ts::PathNode start, ts::PathNode goal, ts::Object *target = nullptr)
      : m_object(object), m_target(target), m_start(start), m_goal(goal) {
    ts::Box boundary = ts::WorldManager::getInstance().getBoundary();
    m_width = static_cast<int>(boundary.getHorizontal());
    m_height = static_cast<int>(boundary.getVertical());
    m_graph.assign(m_height, std::vector<Node>(m_width));
  }

  int cycleOnce() {
    ts::PathNode current = m_start;
    if (!m_open.empty()) {
      size_t best = m_open.size() - 1;
      for (size_t i = m_open.size(); i-- > 0;)
        if (node(m_open[i]).f < node(m_open[best]).f) best = i;
      current = m_open[best];
      m_open.erase(std::find(m_open.begin(), m_open.end(), current));
    }
    m_closed.push_back(current);
    ++m_expanded;
    if (current == m_goal) m_found = true;
    if (m_target) {
      ts::Box mover = ts::getWorldBox(m_object, ts::Vector(current.x, current.y));
      ts::Box target = ts::getWorldBox(m_target, ts::Vector(m_goal.x, m_goal.y));
      if (ts::boxIntersectsBox(mover, target)) {
        m_found = true;
        m_goal = current;
      }
    }
    if (m_found) return 2;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (dx != 0 || dy != 0) consider(current, dx, dy);
    return m_open.empty() ? 0 : 1;
  }

  // Cycles until the search ends; the status.
  int run() {
    int status = 1;
    while (status == 1) status = cycleOnce();
    return status;
  }

  std::vector<ts::Vector> getPath() const {
    std::vector<ts::Vector> waypoints;
    if (!m_found) return waypoints;
    for (ts::PathNode at = m_goal; at != m_start; at = m_graph[at.y][at.x].parent) waypoints.emplace_back(at.x, at.y);
    waypoints.emplace_back(m_start.x, m_start.y);
    std::reverse(waypoints.begin(), waypoints.end());
    return waypoints;
  }

  long getExpandedCount() const { return m_expanded; }

 private:
  struct Node {
    float g = 0;
    float f = 0;
    ts::PathNode parent{-1, -1};
  };

  Node &node(ts::PathNode at) { return m_graph[at.y][at.x]; }
  static bool contains(const std::vector<ts::PathNode> &list, ts::PathNode at) {
    return std::find(list.begin(), list.end(), at) != list.end();
  }

  void consider(ts::PathNode current, int dx, int dy) {
    ts::PathNode next{current.x + dx, current.y + dy};
    if (next.x < 0 || next.x >= m_width || next.y < 0 || next.y >= m_height) return;
    if (contains(m_closed, next) || blocked(next.x, next.y)) return;
    if (dx != 0 && dy != 0 && blocked(current.x + dx, current.y) && blocked(current.x, current.y + dy)) return;
    float step = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    float cost = node(current).g + step;
    bool in_open = contains(m_open, next);
    if (in_open && cost > node(next).g) return;
    if (!in_open) m_open.push_back(next);
    double hx = next.x - m_goal.x, hy = next.y - m_goal.y;
    node(next).parent = current;
    node(next).g = cost;
    node(next).f = cost + static_cast<float>(std::sqrt(hx * hx + hy * hy));
  }

  bool blocked(int x, int y) const {
    ts::ObjectList hits = ts::WorldManager::getInstance().getCollisions(m_object, ts::Vector(x, y));
    for (int i = 0; i < hits.getCount(); ++i) {
      if (hits[i]->getSolidness() != ts::HARD) continue;
      return !ts::boxContainsPosition(ts::getWorldBox(hits[i]), ts::Vector(m_goal.x, m_goal.y));
    }
    return false;
  }

  ts::Object *m_object;
  ts::Object *m_target;
  ts::PathNode m_start;
  ts::PathNode m_goal;
  int m_width = 0;
  int m_height = 0;
  std::vector<std::vector<Node>> m_graph;
  std::vector<ts::PathNode> m_open;
  std::vector<ts::PathNode> m_closed;
  bool m_found = false;
  long m_expanded = 0;
};

}  // namespace path_reference

#endif
