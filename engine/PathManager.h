// Runs pending path searches within a per-frame time budget.
#ifndef TS_PATH_MANAGER_H
#define TS_PATH_MANAGER_H

#include <vector>

#include "Manager.h"

namespace ts {

class PathFind;

class PathManager : public Manager {
 public:
  static PathManager &getInstance();

  int startUp() override;
  void shutDown() override;
  void cycle(int budget_ms);
  int removeSearch(PathFind *search);

 private:
  PathManager();
  std::vector<PathFind *> m_searches;
};

}  // namespace ts

#endif
