// The engine's named colours, their RGB values and their names.
#ifndef TS_COLOR_H
#define TS_COLOR_H

#include <cstdint>
#include <string>

namespace ts {

enum Color : int32_t {
  BLACK = 0,
  RED,
  GREEN,
  YELLOW,
  BLUE,
  MAGENTA,
  CYAN,
  WHITE,
  CUSTOM,
};

const Color COLOR_DEFAULT = WHITE;

// Sets r, g, b from the colour table; CUSTOM and unknown colours leave them.
void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b);
// "Black" ... "White", or "Unknown color".
std::string colorToString(Color color);
// The colour named in lower case ("black" ... "white"), or -1.
int colorFromName(const std::string &name);

}  // namespace ts

#endif
