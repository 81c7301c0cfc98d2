#include "Exhibit.h"

#include <tessera/graphics/DisplayManager.h>

namespace {

// An animation's slowdown count of -1 holds it on its frame; counting from
// 0 again lets it advance at the sprite's slowdown.
const int FROZEN = -1;

}  // namespace

Exhibit::Exhibit(const std::string &sprite_label, ts::Vector position, const std::string &caption)
    : m_caption(caption) {
  setType("Exhibit");
  setSolidness(ts::SPECTRAL);
  setSprite(sprite_label);
  setPosition(position);
}

// The object's own draw() draws the sprite's current frame and advances the
// animation; the caption goes two rows under the sprite's middle.
int Exhibit::draw() {
  const int result = ts::Object::draw();
  const ts::Vector below = getPosition() + ts::Vector(0, getBox().getVertical() / 2 + 1);
  ts::DisplayManager::getInstance().drawString(below, m_caption, ts::CENTER_JUSTIFIED, ts::WHITE);
  return result;
}

bool Exhibit::isRunning() const { return getAnimation().getSlowdownCount() != FROZEN; }

// getAnimation() hands out a copy: change it and give it back. false: the
// object keeps the box it has.
void Exhibit::setRunning(bool running) {
  ts::Animation animation = getAnimation();
  animation.setSlowdownCount(running ? 0 : FROZEN);
  setAnimation(animation, false);
}

void Exhibit::stepFrame() {
  ts::Animation animation = getAnimation();
  animation.setIndex((animation.getIndex() + 1) % animation.getSprite()->getFrameCount());
  setAnimation(animation, false);
}

std::string Exhibit::describe() const {
  const ts::Animation animation = getAnimation();
  const ts::Sprite *sprite = animation.getSprite();
  return "'" + animation.getName() + "' (" + ts::colorToString(sprite->getColor()) + ", slowdown " +
         std::to_string(sprite->getSlowdown()) + ", " + (isRunning() ? "running" : "stopped") + ") on frame " +
         std::to_string(animation.getIndex() + 1) + " of " + std::to_string(sprite->getFrameCount());
}
