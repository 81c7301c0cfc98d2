#include "Coin.h"

#include <tessera/core/LogManager.h>
#include <tessera/world/EventCollision.h>
#include <tessera/world/EventView.h>
#include <tessera/world/WorldManager.h>

Coin::Coin(ts::Vector position) : m_taken(false) {
  setType("Coin");
  setSprite("coin");
  setSolidness(ts::SOFT);
  setAltitude(1);
  setPosition(position);
}

int Coin::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::COLLISION_EVENT) return ts::Object::eventHandler(p_event);
  const auto *p_collision = static_cast<const ts::EventCollision *>(p_event);
  // The enemy is SOFT too and runs over coins; only the player takes them.
  const bool by_player =
      p_collision->getObject1()->getType() == "Player" || p_collision->getObject2()->getType() == "Player";
  if (!by_player || m_taken) return 1;
  m_taken = true;
  ts::LogManager::getInstance().writeLog("Coin: picked up at %s", getPosition().toString().c_str());
  // The score view object listens for "ts-view" events tagged with its label.
  ts::EventView score("Score", POINTS, true);
  ts::WorldManager::getInstance().onEvent(&score);
  ts::WorldManager::getInstance().markForDelete(this);
  return 1;
}
