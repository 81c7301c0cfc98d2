// One cell of the maze's wall: HARD, so nothing HARD moves into it.
#ifndef CHASE_WALL_H
#define CHASE_WALL_H

#include <tessera/world/Object.h>

class Wall : public ts::Object {
 public:
  explicit Wall(ts::Vector position);
};

#endif
