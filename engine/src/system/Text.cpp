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

// The lead byte says how many continuation bytes follow (0 to 3; -1 for a
// byte that cannot lead); each form has a smallest value it may carry, so
// that no character has two encodings.
char32_t nextCharacter(const std::string &text, size_t &index) {
  static const char32_t SMALLEST[4] = {0, 0x80, 0x800, 0x10000};
  if (index >= text.size()) return MALFORMED_UTF8;
  const unsigned char lead = static_cast<unsigned char>(text[index]);
  const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
  if (extra < 0 || text.size() - index <= static_cast<size_t>(extra)) {
    ++index;
    return MALFORMED_UTF8;
  }
  char32_t code = extra == 0 ? lead : lead & (0x3Fu >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[index + static_cast<size_t>(k)]);
    if ((next & 0xC0) != 0x80) {
      ++index;
      return MALFORMED_UTF8;
    }
    code = (code << 6) | (next & 0x3Fu);
  }
  if (code < SMALLEST[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++index;
    return MALFORMED_UTF8;
  }
  index += 1 + static_cast<size_t>(extra);
  return code;
}

int characterCount(const std::string &text) {
  int count = 0;
  for (size_t index = 0; index < text.size(); ++count) nextCharacter(text, index);
  return count;
}

}  // namespace ts
