#include "Ball.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/graphics/DisplayManager.h>

namespace {

const ts::Vector MIDDLE(40, 12);

}  // namespace

Ball::Ball(ts::Sound *p_sound) : m_p_sound(p_sound) {
  setType("Ball");
  setSolidness(ts::SPECTRAL);
  setPosition(MIDDLE);
  setVelocity(ts::Vector(2, 0));  // cells per frame; the world moves it
}

// Out events need no registration: the world manager sends them straight
// to the object that left.
int Ball::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::OUT_EVENT) return ts::Object::eventHandler(p_event);
  m_p_sound->play();  // a sound plays once unless asked to loop
  ts::LogManager::getInstance().writeLog("Sound: the ball left the screen at %s; blip",
                                         getPosition().toString().c_str());
  setPosition(MIDDLE);
  setVelocity(ts::Vector(-getVelocity().getX(), 0));
  return 1;
}

int Ball::draw() { return ts::DisplayManager::getInstance().drawCh(getPosition(), 'O', ts::YELLOW); }
