// Runs pending path searches within a per-frame time budget and hands each
// finished search's result to its object as a "ts-path" event.
#ifndef TS_PATH_MANAGER_H
#define TS_PATH_MANAGER_H

#include <vector>

#include <tessera/core/Manager.h>
#include <tessera/paths/PathFind.h>

namespace ts {

class Object;

class PathManager : public Manager {
 public:
  static PathManager &getInstance();

  int startUp() override;
  void shutDown() override;
  // Runs the searches for at least the minimum cycle time, else the budget.
  void cycle(int budget_ms);
  // Takes every occurrence of the search off the list: 0, or -1 when absent.
  int removeSearch(PathFind *search);

  // Starts a search for the object from the cell it stands on to the goal
  // cell, or to wherever it first touches the target. The search joins the
  // list and becomes the object's pending search (replacing and destroying
  // any it had). The result reaches the object as a "ts-path" event. Returns
  // the search, or nullptr (with a log line) when it cannot be made.
  PathFind *requestPath(Object *object, int goal_x, int goal_y);
  PathFind *requestPath(Object *object, Object *target);

  int getSearchCount() const { return static_cast<int>(m_searches.size()); }
  bool hasSearch(const PathFind *search) const;
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
