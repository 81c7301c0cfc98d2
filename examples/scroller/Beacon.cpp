#include "Beacon.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/EventView.h>
#include <tessera/world/WorldManager.h>

Beacon::Beacon(ts::Vector position) {
  setType("Beacon");
  setSprite("beacon");
  setSolidness(ts::SOFT);
  setAltitude(2);
  setPosition(position);
}

int Beacon::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::COLLISION_EVENT) return 0;
  ts::WorldManager &world = ts::WorldManager::getInstance();
  // The view's corner is the world cell at the window's top-left: the ship
  // is somewhere in the world, the window shows the part around it.
  const ts::Vector view = world.getView().getCorner();
  ts::LogManager::getInstance().writeLog("Beacon: found at %s, the view's corner at %s",
                                         getPosition().toString().c_str(), view.toString().c_str());
  ts::EventView found("Beacons", 1, true);
  world.onEvent(&found);
  world.markForDelete(this);
  // Counted before this one is gone: it is destroyed after the frame's moves.
  if (world.objectsOfType("Beacon").getCount() == 1) {
    ts::LogManager::getInstance().writeLog("Beacon: the last one");
    ts::GameManager::getInstance().setGameOver();
  }
  return 1;
}
