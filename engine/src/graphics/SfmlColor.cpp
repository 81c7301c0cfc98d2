#include <tessera/graphics/SfmlColor.h>

#include <SFML/Graphics/Color.hpp>

#include <tessera/core/LogManager.h>

namespace ts {

sf::Color colorToSFML(Color color) {
  if (color == CUSTOM) {
    LogManager::getInstance().writeLog(LOG_MANAGER, "colorToSFML(): Color is CUSTOM.");
    return sf::Color::White;
  }
  if (color < BLACK || color > CUSTOM) {
    LogManager::getInstance().writeLog(LOG_MANAGER, "colorToSFML(): Color %d not supported.", static_cast<int>(color));
    return sf::Color::White;
  }
  unsigned char r = 0, g = 0, b = 0;
  colorToRGB(color, r, g, b);
  return sf::Color(r, g, b, 255);
}

}  // namespace ts
