/// @file
/// PathManager, time-budgeted path searches.
#ifndef TS_PATH_MANAGER_H
#define TS_PATH_MANAGER_H

#include <vector>

#include <tessera/core/Manager.h>
#include <tessera/paths/PathFind.h>

namespace ts {

class Object;

/// Runs pending path searches within a per-frame time budget and hands each
/// finished search's result to its object as a "ts-path" event. It keeps
/// non-owning pointers: each search belongs to its object.
class PathManager : public Manager {
 public:
  /// The one path manager.
  static PathManager &getInstance();

  /// Sets the minimum cycle time to a tenth of the frame time; 0, or -1 when
  /// already started (logged).
  int startUp() override;
  /// Marks the manager stopped; pending searches stay listed until their
  /// objects destroy them (the world manager stops after it and does so).
  void shutDown() override;
  /// Runs the searches round-robin for at least the minimum cycle time, else
  /// budget_ms milliseconds; finished ones get their result delivered and
  /// leave the list. Overrunning is logged at level 5.
  void cycle(int budget_ms);
  /// Takes every occurrence of the search off the list: 0, or -1 when absent.
  int removeSearch(PathFind *search);

  /// Starts a search for the object from the cell it stands on to the goal
  /// cell. The search joins the list and becomes the object's pending search
  /// (owned by the object, replacing and destroying any it had). The result
  /// reaches the object as a "ts-path" event. Returns the search, or nullptr
  /// with a log line when the manager is not started, object is null, the
  /// world cannot hold a node graph, or start or goal is outside the world.
  PathFind *requestPath(Object *object, int goal_x, int goal_y);
  /// The same, to wherever the object first touches target (not owned); null
  /// for a null target (logged).
  PathFind *requestPath(Object *object, Object *target);

  /// Searches pending.
  int getSearchCount() const { return static_cast<int>(m_searches.size()); }
  /// Whether search is pending.
  bool hasSearch(const PathFind *search) const;
  /// The least time in milliseconds cycle() spends when searches are pending.
  int getMinCycleTime() const { return m_min_cycle_time; }

 private:
  PathManager();
  PathFind *createSearch(Object *object, Vector goal, Object *target);
  void deliverResult(size_t position, int status);

  std::vector<PathFind *> m_searches;
  int m_min_cycle_time;
};

}  // namespace ts

#endif
