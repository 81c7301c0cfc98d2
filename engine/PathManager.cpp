#include "PathManager.h"

#include <algorithm>

namespace ts {

PathManager::PathManager() { setType("PathManager"); }

PathManager &PathManager::getInstance() {
  static PathManager instance;
  return instance;
}

int PathManager::startUp() { return Manager::startUp(); }
void PathManager::shutDown() { Manager::shutDown(); }
void PathManager::cycle(int) {}

int PathManager::removeSearch(PathFind *search) {
  auto end = std::remove(m_searches.begin(), m_searches.end(), search);
  if (!search || end == m_searches.end()) return -1;
  m_searches.erase(end, m_searches.end());
  return 0;
}

}  // namespace ts
