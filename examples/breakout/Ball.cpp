#include "Ball.h"

#include <algorithm>
#include <cmath>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/EventCollision.h>
#include <tessera/world/EventView.h>
#include <tessera/world/WorldManager.h>
#include "Paddle.h"

Ball::Ball(int level) : m_speed(1), m_bounced_at(-1) {
  setType("Ball");
  setSprite("ball");
  setPosition(ts::Vector(40, Paddle::ROW - 4));
  // Cells are twice as high as wide: half the vertical speed looks diagonal.
  // Less than a cell per frame upwards, so that it cannot pass through a
  // brick: the speed stops growing after level 4.
  m_speed = 1.5f + 0.25f * static_cast<float>(std::min(level, 4) - 1);
  setVelocity(ts::Vector(0.5f, -0.25f) * m_speed);
}

int Ball::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::OUT_EVENT) {
    ts::LogManager::getInstance().writeLog("Ball: lost at %s", getPosition().toString().c_str());
    ts::WorldManager::getInstance().markForDelete(this);  // the game serves the next one
    return 1;
  }
  if (p_event->getType() == ts::COLLISION_EVENT) {
    const auto *p_collision = static_cast<const ts::EventCollision *>(p_event);
    // The ball moves into things (object 1); the paddle may move into it
    // (object 2), which needs no bounce: the ball meets the paddle itself.
    if (p_collision->getObject1() != this) return 1;
    bounce(p_collision->getObject2());
    if (p_collision->getObject2()->getType() == "Brick") breakBrick(p_collision->getObject2());
    return 1;
  }
  return 0;
}

// Turns the velocity away from the side it hit. Touching two bricks at once
// gives two collisions in one move, but only one bounce.
void Ball::bounce(const ts::Object *p_other) {
  const int step = ts::GameManager::getInstance().getStepCount();
  if (step == m_bounced_at) return;
  m_bounced_at = step;
  // The side of the other object the ball ran into: (0,-1) its top, (1,0)
  // its right side, (-1,-1) its top-left corner, ...
  const ts::Vector normal = ts::getNormal(this, p_other);
  ts::Vector velocity = getVelocity();
  if (normal.getX() != 0) velocity.setX(std::fabs(velocity.getX()) * normal.getX());
  if (normal.getY() != 0) velocity.setY(std::fabs(velocity.getY()) * normal.getY());
  // Off the paddle the ball goes the steeper the nearer the middle it hit,
  // so the player can aim.
  if (p_other->getType() == "Paddle") {
    const float offset = getPosition().getX() - p_other->getPosition().getX();
    velocity.setX(offset * m_speed * PADDLE_ANGLE);
    velocity.setY(-std::fabs(velocity.getY()));
  }
  setVelocity(velocity);
}

void Ball::breakBrick(ts::Object *p_brick) const {
  ts::LogManager::getInstance().writeLog("Ball: broke the brick at %s", p_brick->getPosition().toString().c_str());
  // The score view object adds what "ts-view" events tagged "Score" bring.
  ts::EventView score("Score", BRICK_POINTS, true);
  ts::WorldManager::getInstance().onEvent(&score);
  // Destroyed at the end of this frame's update, after the move under way.
  ts::WorldManager::getInstance().markForDelete(p_brick);
}
