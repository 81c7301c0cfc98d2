#include <tessera/system/Text.h>

#include <climits>
#include <cstdlib>
#include <sstream>

namespace ts {

std::string toString(int value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

std::string toString(float value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

int toInt(const std::string &text) { return clampToInt(std::strtoll(text.c_str(), nullptr, 10)); }

int clampToInt(long long value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string maskToString(uint32_t mask) {
  std::string text;
  for (int bit = 31; bit >= 0; --bit) text += ((mask >> bit) & 1u) ? '1' : '0';
  return text;
}

std::string solidnessToString(int solidness) {
  static const char *const names[] = {"hard", "soft", "spectral"};
  if (solidness < 0 || solidness > 2) return "undefined";
  return names[solidness];
}

std::string locationToString(int location) {
  static const char *const names[] = {"top-left",     "top-center", "top-right",  "center-left", "center-center",
                                      "center-right", "bot-left",   "bot-center", "bot-right"};
  if (location < 0 || location > 8) return "unknown";
  return names[location];
}

std::string keyToString(int key) {
  static const char punctuation[] = "-+~.,/=\\*';";
  if (key == 0) return " ";
  if (key >= 9 && key <= 19) return std::string(1, punctuation[key - 9]);
  if (key >= 36 && key <= 61) return std::string(1, static_cast<char>('A' + key - 36));
  if (key >= 62 && key <= 70) return std::string(1, static_cast<char>('1' + key - 62));
  if (key == 71) return "0";
  if (key == 74) return "[";
  if (key == 75) return "]";
  if (key == 76) return "`";
  return "";
}

}  // namespace ts
