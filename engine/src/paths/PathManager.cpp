#include <tessera/paths/PathManager.h>

#include <algorithm>
#include <cmath>

#include <tessera/core/GameLoop.h>
#include <tessera/core/LogManager.h>
#include <tessera/system/Clock.h>
#include <tessera/system/Text.h>
#include <tessera/world/EventPath.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>

namespace ts {

namespace {

// The cell a position falls in: the nearest whole coordinate. Positions that
// no int can hold come out as -1, which is outside every world.
int cellOf(float coordinate) {
  double cell = std::floor(static_cast<double>(coordinate) + 0.5);
  if (!(cell >= 0.0 && cell <= 2147483647.0)) return -1;
  return static_cast<int>(cell);
}

int elapsedMilliseconds(const Clock &clock) { return clock.split() / 1000; }

}  // namespace

PathManager::PathManager() : m_min_cycle_time(0) { setType("PathManager"); }

PathManager &PathManager::getInstance() {
  static PathManager instance;
  return instance;
}

int PathManager::startUp() {
  if (isStarted()) {
    LogManager::getInstance().writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                                       getType().c_str());
    return -1;
  }
  m_min_cycle_time = GameLoop::frameTime() / 10;
  Manager::startUp();
  LogManager::getInstance().writeLog(LOG_MANAGER, "PathManager::startUp(): successfully started.");
  return 0;
}

void PathManager::shutDown() {
  Manager::shutDown();
  LogManager::getInstance().writeLog(LOG_MANAGER, "PathManager::shutDown(): successfully stopped.");
}

bool PathManager::hasSearch(const PathFind *search) const {
  return std::find(m_searches.begin(), m_searches.end(), search) != m_searches.end();
}

int PathManager::removeSearch(PathFind *search) {
  if (!search || !hasSearch(search)) return -1;
  m_searches.erase(std::remove(m_searches.begin(), m_searches.end(), search), m_searches.end());
  return 0;
}

void PathManager::cycle(int budget_ms) {
  int limit = std::max(budget_ms, m_min_cycle_time);
  Clock clock;
  // Nothing but the event handlers changes the world while searches run.
  PathFind::StillWorld still;
  while (!m_searches.empty() && elapsedMilliseconds(clock) < limit) {
    size_t position = 0;
    while (position < m_searches.size()) {
      int status = m_searches[position]->cycleOnce();
      if (status == PathFind::NO_PATH || status == PathFind::FOUND)
        deliverResult(position, status);  // the next search moves up into position
      else
        ++position;
      if (elapsedMilliseconds(clock) > limit) break;
    }
  }
  if (elapsedMilliseconds(clock) > limit)
    LogManager::getInstance().writeLog(LOG_MANAGER, "PathManager::cycle(): cycle time %d exceeded.", limit);
}

// A finished search leaves the list before its object hears of it, so it is
// reported exactly once even if the object keeps it, and the handler may
// destroy it (or start another) without disturbing the pass.
void PathManager::deliverResult(size_t position, int status) {
  PathFind *search = m_searches[position];
  Object *object = search->getObject();
  EventPath event;
  event.setStatus(status);
  event.setPath(search->getPath());
  m_searches.erase(m_searches.begin() + static_cast<std::ptrdiff_t>(position));
  PathFind::WorldMayChange handler_runs;
  if (object) object->eventHandler(&event);
}

PathFind *PathManager::requestPath(Object *object, int goal_x, int goal_y) {
  return createSearch(object, Vector(static_cast<float>(goal_x), static_cast<float>(goal_y)), nullptr);
}

PathFind *PathManager::requestPath(Object *object, Object *target) {
  if (!target) {
    LogManager::getInstance().writeLog("PathManager::requestPath(): Error! No target object.");
    return nullptr;
  }
  return createSearch(object, target->getPosition(), target);
}

PathFind *PathManager::createSearch(Object *object, Vector goal_position, Object *target) {
  const LogManager &log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("PathManager::requestPath(): Error! PathManager not started.");
    return nullptr;
  }
  if (!object) {
    log.writeLog("PathManager::requestPath(): Error! No object.");
    return nullptr;
  }
  int width = 0, height = 0;
  if (!PathFind::worldGraphSize(width, height)) {
    Box boundary = WorldManager::getInstance().getBoundary();
    log.writeLog("PathManager::requestPath(): Error! World %sx%s cannot hold a node graph.",
                 toString(boundary.getHorizontal()).c_str(), toString(boundary.getVertical()).c_str());
    return nullptr;
  }
  PathNode start{cellOf(object->getPosition().getX()), cellOf(object->getPosition().getY())};
  PathNode goal{cellOf(goal_position.getX()), cellOf(goal_position.getY())};
  if (start.x < 0 || start.x >= width || start.y < 0 || start.y >= height) {
    log.writeLog("PathManager::requestPath(): Error! Start %s outside the world.",
                 object->getPosition().toString().c_str());
    return nullptr;
  }
  if (goal.x < 0 || goal.x >= width || goal.y < 0 || goal.y >= height) {
    log.writeLog("PathManager::requestPath(): Error! Goal %s outside the world.", goal_position.toString().c_str());
    return nullptr;
  }
  PathFind *search = new PathFind(object, start, goal, target);
  object->setPathSearch(search);
  m_searches.push_back(search);
  return search;
}

}  // namespace ts
