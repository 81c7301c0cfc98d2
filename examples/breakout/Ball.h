// The ball: moved by the world at its velocity every frame. It bounces off
// whatever HARD thing it runs into, breaks the bricks it hits and is lost
// when it leaves the world at the bottom.
#ifndef BREAKOUT_BALL_H
#define BREAKOUT_BALL_H

#include <tessera/world/Object.h>

class Ball : public ts::Object {
 public:
  static const int BRICK_POINTS = 10;

  // Serves from above the paddle, faster at each level.
  explicit Ball(int level);
  int eventHandler(const ts::Event *p_event) override;

 private:
  void bounce(const ts::Object *p_other);
  void breakBrick(ts::Object *p_brick) const;

  // Horizontal speed per cell between the ball and the paddle's middle.
  static constexpr float PADDLE_ANGLE = 0.15f;

  float m_speed;     // 1.5 at level 1, faster at the next three
  int m_bounced_at;  // the step of the last bounce
};

#endif
