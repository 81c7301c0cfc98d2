#include "Enemy.h"

#include <tessera/core/LogManager.h>
#include <tessera/paths/PathFind.h>
#include <tessera/paths/PathManager.h>
#include <tessera/world/EventCollision.h>
#include <tessera/world/EventPath.h>
#include <tessera/world/WorldManager.h>
#include "Player.h"

Enemy::Enemy(ts::Vector start) : m_start(start), m_steps(0), m_rest_until(0), m_back_to_start(false) {
  setType("Enemy");
  setSprite("enemy");
  setBox(ts::Box(ts::Vector(-0.495f, -0.495f), 0.99f, 0.99f));
  // SOFT: it collides (so it notices the player) but is never blocked, so
  // cutting a corner on a diagonal step of its path does not stop it.
  setSolidness(ts::SOFT);
  setAltitude(3);
  setPosition(start);
  setSpeed(SPEED);
  registerInterest(ts::STEP_EVENT);
}

int Enemy::eventHandler(const ts::Event *p_event) {
  const std::string type = p_event->getType();
  if (type == ts::STEP_EVENT) {
    step();
    return 1;
  }
  if (type == ts::COLLISION_EVENT) {
    const auto *p_collision = static_cast<const ts::EventCollision *>(p_event);
    ts::Object *p_other = p_collision->getObject1() == this ? p_collision->getObject2() : p_collision->getObject1();
    if (p_other->getType() == "Player") catchPlayer(p_other);
    return 1;
  }
  if (type == ts::PATH_EVENT && static_cast<const ts::EventPath *>(p_event)->getStatus() != ts::PathFind::FOUND)
    ts::LogManager::getInstance().writeLog("Enemy: no way to the player");
  // The object's own handler takes a found path and starts following it.
  return ts::Object::eventHandler(p_event);
}

void Enemy::step() {
  if (m_back_to_start) {
    m_back_to_start = false;
    setPosition(m_start);
  }
  if (m_steps++ < m_rest_until) return;
  if (m_steps % REPLAN_STEPS == 1) planPath();
}

// The search runs over the next frames within the path manager's budget;
// its result arrives as a "ts-path" event.
void Enemy::planPath() {
  const ts::ObjectList players = ts::WorldManager::getInstance().objectsOfType("Player");
  if (players.isEmpty()) return;
  ts::PathManager::getInstance().requestPath(this, players[0]);
}

// Called while the world manager is moving one of the two, so neither is
// put back at its start here: the move under way would overwrite that.
void Enemy::catchPlayer(ts::Object *p_player) {
  Player *player = dynamic_cast<Player *>(p_player);
  if (!player || m_steps < m_rest_until) return;  // already caught in this frame
  ts::LogManager::getInstance().writeLog("Enemy: reached the player at %s after %d steps",
                                         p_player->getPosition().toString().c_str(), m_steps);
  setFollowPath(false);
  setPath(ts::Path());
  setPathSearch(nullptr);
  setDirection(ts::Vector(0, 0));
  m_back_to_start = true;
  m_rest_until = m_steps + REST_STEPS;
  player->caught();
}
