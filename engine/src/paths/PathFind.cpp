#include <tessera/paths/PathFind.h>

#include <tessera/paths/PathManager.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include <tessera/core/Geometry.h>
#include <tessera/core/LogManager.h>
#include <tessera/world/Object.h>
#include <tessera/world/ObjectList.h>
#include <tessera/world/WorldManager.h>

namespace ts {

namespace {

// One step to a neighbour: 1 straight, the square root of 2 (rounded to a
// float) diagonally.
float stepCost(int dx, int dy) { return static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy))); }

// Straight-line distance to the goal, rounded to a float; double arithmetic
// so that no coordinate can overflow.
float heuristic(int x, int y, PathNode goal) {
  double dx = static_cast<double>(x) - goal.x;
  double dy = static_cast<double>(y) - goal.y;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

uint64_t serialOf(const Object *object) { return object ? object->getSerial() : 0; }

// The stamp of the StillWorld hold in force, 0 for none.
uint32_t s_still_stamp = 0;
uint32_t s_last_stamp = 0;

uint32_t freshStamp() {
  if (++s_last_stamp == 0) ++s_last_stamp;
  return s_last_stamp;
}

}  // namespace

PathFind::StillWorld::StillWorld() : m_previous(s_still_stamp) { s_still_stamp = freshStamp(); }
PathFind::StillWorld::~StillWorld() { s_still_stamp = m_previous; }

PathFind::WorldMayChange::WorldMayChange() : m_previous(s_still_stamp) { s_still_stamp = 0; }
PathFind::WorldMayChange::~WorldMayChange() { s_still_stamp = m_previous ? freshStamp() : 0; }

bool PathFind::OpenAfter::operator()(const OpenEntry &a, const OpenEntry &b) const {
  // std heaps keep the "largest" on top: a smaller f, then a later order wins.
  if (a.f != b.f) return a.f > b.f;
  return a.order < b.order;
}

PathFind::PathFind(Object *object) : PathFind(object, PathNode{0, 0}, PathNode{0, 0}, nullptr, false) {}

PathFind::PathFind(Object *object, PathNode start, PathNode goal, Object *target)
    : PathFind(object, start, goal, target, true) {}

PathFind::PathFind(Object *object, PathNode start, PathNode goal, Object *target, bool with_graph)
    : m_p_object(object),
      m_p_target(target),
      m_object_serial(serialOf(object)),
      m_target_serial(serialOf(target)),
      m_start(start),
      m_goal(goal),
      m_width(0),
      m_height(0),
      m_next_order(0),
      m_open_count(0),
      m_found(false),
      m_expanded(0),
      m_world_queries(0),
      m_blocked_cache() {
  if (with_graph) allocateNodeGraph();
}

PathFind::~PathFind() { PathManager::getInstance().removeSearch(this); }

bool PathFind::worldGraphSize(int &width, int &height) {
  Box boundary = WorldManager::getInstance().getBoundary();
  float horizontal = boundary.getHorizontal();
  float vertical = boundary.getVertical();
  // The comparisons are false for NaN, so NaN extents fail too.
  if (!(horizontal >= 1.0f && vertical >= 1.0f)) return false;
  if (static_cast<double>(horizontal) * vertical >= static_cast<double>(MAX_NODES) * 4) return false;
  width = static_cast<int>(horizontal);
  height = static_cast<int>(vertical);
  return static_cast<int64_t>(width) * height <= MAX_NODES;
}

void PathFind::allocateNodeGraph() {
  int width = 0, height = 0;
  if (!m_p_object || !worldGraphSize(width, height)) return;
  m_width = width;
  m_height = height;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  m_nodes.assign(count, Node{0.0f, 0.0f, PathNode{-1, -1}});
  m_state.assign(count, UNSEEN);
  m_open_order.assign(count, 0);
  m_blocked_stamp.assign(count, 0);
  m_blocked.assign(count, 0);
}

bool PathFind::objectsStillLive() const {
  if (!Object::isLive(m_p_object, m_object_serial)) return false;
  return !m_p_target || Object::isLive(m_p_target, m_target_serial);
}

int PathFind::cycleOnce() {
  const LogManager &log = LogManager::getInstance();
  if (m_nodes.empty()) {
    log.writeLog("PathFind::cycleOnce(): node graph not allocated.  Cannot find path.");
    return NO_PATH;
  }
  if (m_found) return FOUND;
  if (!insideGraph(m_start.x, m_start.y)) {
    log.writeLog("PathFind::cycleOnce(): Error! Start (%d,%d) outside the world.  Cannot find path.", m_start.x,
                 m_start.y);
    return NO_PATH;
  }
  if (!objectsStillLive()) {
    log.writeLog("PathFind::cycleOnce(): Error! Object or target destroyed.  Cannot find path.");
    return NO_PATH;
  }
  ++m_expanded;
  PathNode current = takeCurrentNode();
  m_state[indexOf(current.x, current.y)] = CLOSED;
  if (current == m_goal) m_found = true;
  if (m_p_target) {
    Box mover = getWorldBox(m_p_object, Vector(current.x, current.y));
    Box target = getWorldBox(m_p_target, Vector(m_goal.x, m_goal.y));
    if (boxIntersectsBox(mover, target)) {
      m_found = true;
      m_goal = current;
    }
  }
  if (m_found) return FOUND;
  expandNeighbours(current);
  return m_open_count > 0 ? SEARCHING : NO_PATH;
}

// The open node of smallest f, the latest put on the open list among equals;
// the start node while the open list is empty.
PathNode PathFind::takeCurrentNode() {
  if (m_open_count == 0) return m_start;
  for (;;) {
    std::pop_heap(m_open_heap.begin(), m_open_heap.end(), OpenAfter());
    OpenEntry entry = m_open_heap.back();
    m_open_heap.pop_back();
    if (m_state[entry.index] != OPEN || m_nodes[entry.index].f != entry.f) continue;  // stale
    m_state[entry.index] = UNSEEN;
    --m_open_count;
    return PathNode{entry.index % m_width, entry.index / m_width};
  }
}

void PathFind::pushOpen(int index) {
  m_open_heap.push_back(OpenEntry{m_nodes[index].f, m_open_order[index], index});
  std::push_heap(m_open_heap.begin(), m_open_heap.end(), OpenAfter());
}

void PathFind::expandNeighbours(PathNode current) {
  std::memset(m_blocked_cache, -1, sizeof m_blocked_cache);
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (dx != 0 || dy != 0) considerNeighbour(current, dx, dy);
}

void PathFind::considerNeighbour(PathNode current, int dx, int dy) {
  int nx = current.x + dx, ny = current.y + dy;
  if (!insideGraph(nx, ny)) return;
  int index = indexOf(nx, ny);
  if (m_state[index] == CLOSED) return;
  auto blocked = [&](int ddx, int ddy) {
    int8_t &cached = m_blocked_cache[ddy + 1][ddx + 1];
    if (cached < 0) cached = isBlocked(current.x + ddx, current.y + ddy) ? 1 : 0;
    return cached == 1;
  };
  if (blocked(dx, dy)) return;
  // No squeezing diagonally between two blocked cells that touch the corner.
  if (dx != 0 && dy != 0 && blocked(dx, 0) && blocked(0, dy)) return;

  Node &node = m_nodes[index];
  float cost = m_nodes[indexOf(current.x, current.y)].g + stepCost(dx, dy);
  bool is_open = m_state[index] == OPEN;
  if (is_open && cost > node.g) return;
  float old_f = node.f;
  node.parent = current;
  node.g = cost;
  node.f = cost + heuristic(nx, ny, m_goal);
  if (!is_open) {
    m_state[index] = OPEN;
    m_open_order[index] = m_next_order++;
    ++m_open_count;
    pushOpen(index);
  } else if (node.f != old_f) {
    pushOpen(index);
  }
}

bool PathFind::isBlocked(int x, int y) {
  if (s_still_stamp == 0) {
    ++m_world_queries;
    return askWorldIfBlocked(x, y);
  }
  int index = indexOf(x, y);
  if (m_blocked_stamp[index] != s_still_stamp) {
    ++m_world_queries;
    m_blocked[index] = askWorldIfBlocked(x, y) ? 1 : 0;
    m_blocked_stamp[index] = s_still_stamp;
  }
  return m_blocked[index] == 1;
}

// Blocked by the first HARD object the search's object would overlap there,
// unless that obstacle covers the goal (so the goal itself can be reached).
bool PathFind::askWorldIfBlocked(int x, int y) const {
  ObjectList hits = WorldManager::getInstance().getCollisions(m_p_object, Vector(x, y));
  for (int i = 0; i < hits.getCount(); ++i) {
    Object *obstacle = hits[i];
    if (obstacle->getSolidness() != HARD) continue;
    return !boxContainsPosition(getWorldBox(obstacle), Vector(m_goal.x, m_goal.y));
  }
  return false;
}

Path PathFind::getPath() const {
  Path path;
  if (!m_found) return path;
  std::vector<Vector> waypoints;
  PathNode node = m_goal;
  // Every parent was closed before its child, so the walk reaches the start
  // within one step per node; the bound only guards against a broken graph.
  size_t limit = m_nodes.size();
  while (node != m_start) {
    if (waypoints.size() >= limit || !insideGraph(node.x, node.y)) {
      LogManager::getInstance().writeLog("PathFind::getPath(): Error! Broken parent chain.");
      return path;
    }
    waypoints.emplace_back(node.x, node.y);
    node = m_nodes[indexOf(node.x, node.y)].parent;
  }
  waypoints.emplace_back(m_start.x, m_start.y);
  std::reverse(waypoints.begin(), waypoints.end());
  path.setWaypoints(waypoints);
  return path;
}

}  // namespace ts
