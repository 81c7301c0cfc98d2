// A beacon somewhere in the world: the ship finds it by touching it. The
// last one found ends the game.
#ifndef SCROLLER_BEACON_H
#define SCROLLER_BEACON_H

#include <tessera/world/Object.h>

class Beacon : public ts::Object {
 public:
  explicit Beacon(ts::Vector position);
  int eventHandler(const ts::Event *p_event) override;
};

#endif
