// The colour the display shows for an engine colour, and the media
// library's colour for it.
#ifndef TS_SFML_COLOR_H
#define TS_SFML_COLOR_H

#include <tessera/core/Color.h>

namespace sf {
class Color;
}

namespace ts {

// Opaque; white (with a level-5 log line) for CUSTOM and unknown colours.
void colorToDisplayRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b);
sf::Color colorToSFML(Color color);

}  // namespace ts

#endif
