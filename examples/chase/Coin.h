// A coin lying in the maze. SOFT: the player walks over it, and the
// collision that this reports picks it up.
#ifndef CHASE_COIN_H
#define CHASE_COIN_H

#include <tessera/world/Object.h>

class Coin : public ts::Object {
 public:
  static const int POINTS = 10;

  explicit Coin(ts::Vector position);
  int eventHandler(const ts::Event *p_event) override;

 private:
  bool m_taken;  // two collisions in one frame must not count twice
};

#endif
