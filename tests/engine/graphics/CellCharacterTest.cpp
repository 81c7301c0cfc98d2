// What one cell shows of a character: the grid stays aligned with one '?'
// for whatever would not take exactly one cell, and the window stands ASCII
// in for the glyphs its font lacks.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "graphics/CellCharacter.h"

namespace {

// Each malformed byte is one '?', and so is each character a terminal draws
// two cells wide or none.
TEST(CellCharacters, WhatWouldNotTakeOneCellIsOneQuestionMark) {
  const std::pair<std::string, std::u32string> cases[] = {
      {"Café ♪", U"Café ♪"},
      {"Ωμέγα Жук ½ → ─ “ok”", U"Ωμέγα Жук ½ → ─ “ok”"},
      {"a\xff"
       "b\x80",
       U"a?b?"},                           // bytes that start no character
      {"\xc3", U"?"},                      // cut short by the end
      {"x\xe2\x99", U"x??"},               // the same, longer
      {"\xc0\xaf\xe0\x80\xaf", U"?????"},  // overlong forms of '/'
      {"\xed\xa0\x80", U"???"},            // a surrogate
      {"\xf4\x90\x80\x80", U"????"},       // past U+10FFFF
      {"中文", U"??"},                     // wide
      {"😀!⌚", U"?!?"},                     // emoji, wide
      {"e\xcc\x81", U"e?"},                // a combining accent
      {"a\u200db\ufe0f", U"a?b?"},         // joiner, variation selector
      {"\xc2\x85", U"?"},                  // a C1 control in UTF-8
  };
  for (const auto &[text, cells] : cases) EXPECT_EQ(ts::cellCharacters(text), cells) << text;
}

// The window's stand-ins: the letter without its accent, one letter for a
// ligature or a letter written as two, plain punctuation; '?' for the rest.
TEST(AsciiStandIn, LettersLoseTheirAccentsAndKeepToOneCell) {
  const std::pair<char32_t, char> cases[] = {
      {U'A', 'A'}, {U'é', 'e'}, {U'ü', 'u'}, {U'ß', 's'}, {U'ç', 'c'},   {U'ñ', 'n'}, {U'Æ', 'A'},
      {U'Ø', 'O'}, {U'ÿ', 'y'}, {U'Ā', 'A'}, {U'Ł', 'L'}, {U'ž', 'z'},   {U'ſ', 's'}, {U'ƀ', '?'},
      {0xa0, ' '}, {U'—', '-'}, {U'“', '"'}, {U'…', '.'}, {0x2027, '?'}, {U'♪', '?'}, {U'中', '?'},
  };
  for (const auto &[code, stand_in] : cases)
    EXPECT_EQ(ts::asciiStandIn(code), stand_in) << "U+" << std::hex << uint32_t(code);
}

}  // namespace
