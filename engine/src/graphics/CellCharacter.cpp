#include "graphics/CellCharacter.h"

#include <iterator>

#include <tessera/system/Text.h>

namespace ts {

namespace {

struct Range {
  char32_t first;
  char32_t last;
};

// Blocks whose characters terminals show one cell wide: Latin, Greek,
// Cyrillic, Armenian and Georgian letters, punctuation, currency, letterlike
// and number forms, arrows, mathematical and technical signs, box drawing,
// shapes, symbols and dingbats. Left out are the combining marks between
// them and the scripts whose letters join, combine or run right to left.
const Range NARROW[] = {
    {0x00A0, 0x02FF}, {0x0370, 0x0482}, {0x048A, 0x052F}, {0x0531, 0x058A}, {0x10A0, 0x10FF}, {0x1E00, 0x1FFF},
    {0x2010, 0x2027}, {0x2030, 0x205E}, {0x2070, 0x209C}, {0x20A0, 0x20C0}, {0x2100, 0x218B}, {0x2190, 0x2BFF},
    {0x2C60, 0x2C7F}, {0x2E00, 0x2E7F}, {0xA720, 0xA7FF}, {0xFB00, 0xFB06},
};

// The symbols in those blocks that terminals draw two cells wide, as emoji.
const Range WIDE_SYMBOLS[] = {
    {0x231A, 0x231B}, {0x2329, 0x232A}, {0x23E9, 0x23EC}, {0x23F0, 0x23F0}, {0x23F3, 0x23F3}, {0x25FD, 0x25FE},
    {0x2614, 0x2615}, {0x2648, 0x2653}, {0x267F, 0x267F}, {0x2693, 0x2693}, {0x26A1, 0x26A1}, {0x26AA, 0x26AB},
    {0x26BD, 0x26BE}, {0x26C4, 0x26C5}, {0x26CE, 0x26CE}, {0x26D4, 0x26D4}, {0x26EA, 0x26EA}, {0x26F2, 0x26F3},
    {0x26F5, 0x26F5}, {0x26FA, 0x26FA}, {0x26FD, 0x26FD}, {0x2705, 0x2705}, {0x270A, 0x270B}, {0x2728, 0x2728},
    {0x274C, 0x274C}, {0x274E, 0x274E}, {0x2753, 0x2755}, {0x2757, 0x2757}, {0x2795, 0x2797}, {0x27B0, 0x27B0},
    {0x27BF, 0x27BF}, {0x2B1B, 0x2B1C}, {0x2B50, 0x2B50}, {0x2B55, 0x2B55},
};

template <size_t N>
bool inRanges(char32_t code, const Range (&ranges)[N]) {
  for (const Range &range : ranges)
    if (code >= range.first && code <= range.last) return true;
  return false;
}

// Stand-ins for U+00A0 to U+017F, sixteen a line.
const char LATIN_STAND_INS[] =
    " !cL?Y|S\"ca<--r-"
    "o+23'uP.,1o>????"
    "AAAAAAACEEEEIIII"
    "DNOOOOOxOUUUUYTs"
    "aaaaaaaceeeeiiii"
    "dnooooo/ouuuuyty"
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "IiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";
const char32_t LATIN_FIRST = 0xA0;

// Dashes, quotes, daggers, bullets and dots from U+2010 on.
const char PUNCTUATION_STAND_INS[] = "------|_''''\"\"\"\"++*>...";
const char32_t PUNCTUATION_FIRST = 0x2010;

}  // namespace

char32_t cellCharacter(char32_t code) {
  if (code < 0x80) return code;
  if (inRanges(code, NARROW) && !inRanges(code, WIDE_SYMBOLS)) return code;
  return '?';
}

std::u32string cellCharacters(const std::string &text) {
  std::u32string cells;
  for (size_t index = 0; index < text.size();) cells += cellCharacter(nextCharacter(text, index));
  return cells;
}

char asciiStandIn(char32_t code) {
  if (code < 0x80) return static_cast<char>(code);
  if (code >= LATIN_FIRST && code - LATIN_FIRST < std::size(LATIN_STAND_INS) - 1)
    return LATIN_STAND_INS[code - LATIN_FIRST];
  if (code >= PUNCTUATION_FIRST && code - PUNCTUATION_FIRST < std::size(PUNCTUATION_STAND_INS) - 1)
    return PUNCTUATION_STAND_INS[code - PUNCTUATION_FIRST];
  return '?';
}

}  // namespace ts
