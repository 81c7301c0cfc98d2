// The paddle: the left and right arrows move it along the bottom row, as
// long as they are held; the walls stop it.
#ifndef BREAKOUT_PADDLE_H
#define BREAKOUT_PADDLE_H

#include <tessera/world/Object.h>

class Paddle : public ts::Object {
 public:
  static const int ROW = 22;

  Paddle();
  int eventHandler(const ts::Event *p_event) override;
};

#endif
