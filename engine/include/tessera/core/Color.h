/// @file
/// The engine's named colours, their RGB values and their names.
#ifndef TS_COLOR_H
#define TS_COLOR_H

#include <cstdint>
#include <string>

namespace ts {

/// The engine's colours: BLACK (0) to WHITE (7) as a terminal numbers them;
/// CUSTOM (8) has no table entry and leaves the RGB to the caller.
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

/// Colour of objects and text drawn without one.
const Color COLOR_DEFAULT = WHITE;

/// Sets r, g, b from the colour table; CUSTOM leaves them, and so does an
/// unknown colour (logged at level 5: "colorToRGB(): Color N not supported.").
void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b);
/// "Black" ... "White", or "Unknown color".
std::string colorToString(Color color);
/// The colour named in lower case ("black" ... "white"), or -1.
int colorFromName(const std::string &name);

}  // namespace ts

#endif
