#include <tessera/core/Color.h>

#include <cctype>

#include <tessera/core/LogManager.h>

namespace ts {

namespace {

struct ColorEntry {
  const char *name;
  unsigned char r, g, b;
};
// Indexed by Color, BLACK to WHITE.
const ColorEntry COLORS[] = {{"black", 0, 0, 0},      {"red", 255, 0, 0},      {"green", 0, 255, 0},
                             {"yellow", 255, 255, 0}, {"blue", 0, 0, 255},     {"magenta", 255, 0, 255},
                             {"cyan", 0, 255, 255},   {"white", 255, 255, 255}};
const int NAMED_COLORS = 8;

}  // namespace

void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b) {
  if (color == CUSTOM) return;
  if (color < BLACK || color > CUSTOM) {
    LogManager::getInstance().writeLog(LOG_MANAGER, "colorToRGB(): Color %d not supported.", static_cast<int>(color));
    return;
  }
  r = COLORS[color].r;
  g = COLORS[color].g;
  b = COLORS[color].b;
}

std::string colorToString(Color color) {
  if (color < BLACK || color > WHITE) return "Unknown color";
  std::string name = COLORS[color].name;
  name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  return name;
}

int colorFromName(const std::string &name) {
  for (int i = 0; i < NAMED_COLORS; ++i)
    if (name == COLORS[i].name) return i;
  return -1;
}

}  // namespace ts
