// The media library's colour for an engine colour.
#ifndef TS_SFML_COLOR_H
#define TS_SFML_COLOR_H

#include <tessera/core/Color.h>

namespace sf {
class Color;
}

namespace ts {

// Opaque; white (with a level-5 log line) for CUSTOM and unknown colours.
sf::Color colorToSFML(Color color);

}  // namespace ts

#endif
