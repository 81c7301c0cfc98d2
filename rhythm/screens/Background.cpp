#include "screens/Background.h"

#include <cstdlib>

#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/WorldManager.h>

namespace {

// The world's extents in whole cells; at least 1, so that a world without
// a boundary yet puts stars at 0 instead of dividing by zero.
int wholeCells(float extent) { return extent >= 1.0f ? static_cast<int>(extent) : 1; }
int worldWidth() { return wholeCells(ts::WorldManager::getInstance().getBoundary().getHorizontal()); }
int worldHeight() { return wholeCells(ts::WorldManager::getInstance().getBoundary().getVertical()); }

// How far beyond the right edge a star may come back in.
const int REENTRY_SPREAD = 20;

}  // namespace

Background::Background() {
  setType("Background");
  setSolidness(ts::SPECTRAL);
  setRandomVelocity();
  setAltitude(0);
  // The row is drawn before the column.
  const int y = rand() % worldHeight();
  const int x = rand() % worldWidth();
  setPosition(ts::Vector(static_cast<float>(x), static_cast<float>(y)));
}

void Background::setRandomVelocity() { setVelocity(ts::Vector(-1.0f / static_cast<float>(rand() % 9 + 2), 0)); }

int Background::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::OUT_EVENT) return 0;
  const int y = rand() % worldHeight();
  const int x = worldWidth() + rand() % REENTRY_SPREAD;
  setPosition(ts::Vector(static_cast<float>(x), static_cast<float>(y)));
  setRandomVelocity();
  return 1;
}

int Background::draw() {
  return ts::DisplayManager::getInstance().drawString(getPosition(), "*", ts::CENTER_JUSTIFIED, ts::WHITE);
}
