#include "Wall.h"

Wall::Wall(ts::Vector position) {
  setType("Wall");
  setSprite("wall");
  setAltitude(1);
  setPosition(position);
}
