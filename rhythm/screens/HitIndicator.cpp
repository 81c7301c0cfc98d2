#include "screens/HitIndicator.h"

#include <tessera/graphics/DisplayManager.h>

HitIndicator::HitIndicator() { setType("HitIndicator"); }

HitIndicator::~HitIndicator() {}

ts::Color HitIndicator::colorOf(const std::string &text) {
  if (text == "Perfect!") return ts::GREEN;
  if (text == "Good!") return ts::YELLOW;
  if (text == "Miss!") return ts::RED;
  return ts::WHITE;
}

int HitIndicator::draw() {
  ts::DisplayManager::getInstance().drawString(getPosition(), m_text, ts::CENTER_JUSTIFIED, colorOf(m_text));
  return 0;
}
