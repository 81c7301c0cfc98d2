#include "graphics/SfmlColor.h"

#include <SFML/Graphics/Color.hpp>

#include <tessera/core/LogManager.h>

namespace ts {

void colorToDisplayRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b) {
  r = g = b = 255;
  if (color == CUSTOM) {
    LogManager::getInstance().writeLog(LOG_MANAGER, "colorToSFML(): Color is CUSTOM.");
    return;
  }
  if (color < BLACK || color > CUSTOM) {
    LogManager::getInstance().writeLog(LOG_MANAGER, "colorToSFML(): Color %d not supported.", static_cast<int>(color));
    return;
  }
  r = g = b = 0;
  colorToRGB(color, r, g, b);
}

sf::Color colorToSFML(Color color) {
  unsigned char r = 255, g = 255, b = 255;
  colorToDisplayRGB(color, r, g, b);
  return sf::Color(r, g, b, 255);
}

}  // namespace ts
