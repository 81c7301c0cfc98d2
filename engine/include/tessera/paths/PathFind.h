/// @file
/// PathFind, one A* search, and PathNode, a cell of it.
#ifndef TS_PATH_FIND_H
#define TS_PATH_FIND_H

#include <cstdint>
#include <vector>

#include <tessera/world/EventPath.h>
#include <tessera/world/Path.h>
#include <tessera/world/PathSearch.h>

namespace ts {

class Object;

/// A search cell; x is the column, y the row (world cells).
struct PathNode {
  int x;  ///< column
  int y;  ///< row
  /// Same cell.
  bool operator==(const PathNode &other) const { return x == other.x && y == other.y; }
  /// Another cell.
  bool operator!=(const PathNode &other) const { return !(*this == other); }
};

/// One A* path search for one object over the world's cells, advanced one node
/// per call so that the search can be spread over many frames. Made by
/// PathManager::requestPath() and owned by its object (Object::setPathSearch());
/// the path manager only advances it.
class PathFind : public PathSearch {
 public:
  /// Search results of cycleOnce() and of the "ts-path" event: no path.
  static constexpr int NO_PATH = PATH_NOT_FOUND;
  static constexpr int SEARCHING = PATH_SEARCHING;  ///< still searching
  static constexpr int FOUND = PATH_FOUND;          ///< a path was found

  /// Larger worlds get no node graph (their searches fail at once).
  static constexpr int64_t MAX_NODES = int64_t(1) << 22;

  /// A search that has nothing to search: it reports NO_PATH on its first cycle.
  explicit PathFind(Object *object);
  /// A search for the object (not owned) from start to goal over the world as
  /// it is now (its boundary sizes the node graph). With a target (not owned),
  /// the search also ends where the object would touch the target standing
  /// on the goal.
  PathFind(Object *object, PathNode start, PathNode goal, Object *target = nullptr);
  /// Withdraws the search from the path manager.
  ~PathFind() override;

  /// Expands one node: NO_PATH, SEARCHING or FOUND. NO_PATH also once the
  /// object or the target has been destroyed.
  int cycleOnce();
  /// From the start node to the goal node, both included; empty until found.
  Path getPath() const;
  /// The object searched for (owned by the world).
  Object *getObject() const { return m_p_object; }
  /// The target, or null.
  Object *getTarget() const { return m_p_target; }
  /// The start cell.
  PathNode getStart() const { return m_start; }
  /// The goal cell.
  PathNode getGoal() const { return m_goal; }
  /// Whether the world was small enough for a node graph.
  bool hasNodeGraph() const { return !m_nodes.empty(); }
  /// Nodes expanded so far (each cycleOnce that gets past its checks).
  int64_t getExpandedCount() const { return m_expanded; }
  /// Times the search has asked the world whether a cell is blocked.
  int64_t getWorldQueryCount() const { return m_world_queries; }

  /// Sets width and height to the node graph's size for the world's boundary;
  /// false when the world is empty, too large or not a number.
  static bool worldGraphSize(int &width, int &height);

  /// While one of these lives, the caller promises that no object moves,
  /// changes or comes and goes, so every search may remember which cells are
  /// blocked instead of asking the world again. Nested holds are allowed; a
  /// search never remembers across holds.
  class StillWorld {
   public:
    /// Starts a hold.
    StillWorld();
    /// Ends the hold (back to the enclosing one, if any).
    ~StillWorld();
    StillWorld(const StillWorld &) = delete;
    StillWorld &operator=(const StillWorld &) = delete;

   private:
    uint32_t m_previous;
  };
  /// Lets the world change again inside a hold (around an event handler);
  /// the hold resumes with a fresh memory when this ends.
  class WorldMayChange {
   public:
    /// Suspends the hold.
    WorldMayChange();
    /// Resumes the hold with a fresh memory.
    ~WorldMayChange();
    WorldMayChange(const WorldMayChange &) = delete;
    WorldMayChange &operator=(const WorldMayChange &) = delete;

   private:
    uint32_t m_previous;
  };

  PathFind(const PathFind &) = delete;
  PathFind &operator=(const PathFind &) = delete;

 private:
  struct Node {
    float g;
    float f;
    PathNode parent;
  };
  enum NodeState : uint8_t { UNSEEN = 0, OPEN = 1, CLOSED = 2 };
  // An open-set entry; stale once its node closes or its f drops.
  struct OpenEntry {
    float f;
    uint64_t order;
    int index;
  };
  struct OpenAfter {
    bool operator()(const OpenEntry &a, const OpenEntry &b) const;
  };

  PathFind(Object *object, PathNode start, PathNode goal, Object *target, bool with_graph);
  void allocateNodeGraph();
  bool insideGraph(int x, int y) const { return x >= 0 && x < m_width && y >= 0 && y < m_height; }
  int indexOf(int x, int y) const { return y * m_width + x; }
  bool objectsStillLive() const;
  PathNode takeCurrentNode();
  void expandNeighbours(PathNode current);
  void considerNeighbour(PathNode current, int dx, int dy);
  bool isBlocked(int x, int y);
  bool askWorldIfBlocked(int x, int y) const;
  void pushOpen(int index);

  Object *m_p_object;
  Object *m_p_target;
  uint64_t m_object_serial;
  uint64_t m_target_serial;
  PathNode m_start;
  PathNode m_goal;
  int m_width;
  int m_height;
  std::vector<Node> m_nodes;
  // Open and closed lists as a state per node plus a heap that picks, among
  // the open nodes of smallest f, the one put on the open list last.
  std::vector<uint8_t> m_state;
  std::vector<uint64_t> m_open_order;
  std::vector<OpenEntry> m_open_heap;
  uint64_t m_next_order;
  int64_t m_open_count;
  bool m_found;
  int64_t m_expanded;
  int64_t m_world_queries;
  // Blocked cells remembered during a StillWorld hold: the hold's stamp
  // when known (0 never matches), and the answer.
  std::vector<uint32_t> m_blocked_stamp;
  std::vector<uint8_t> m_blocked;
  // Blocked state of the 3 x 3 cells around the node being expanded:
  // -1 not asked yet, 0 free, 1 blocked.
  int8_t m_blocked_cache[3][3];
};

}  // namespace ts

#endif
