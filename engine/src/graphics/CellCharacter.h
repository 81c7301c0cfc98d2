// What one character cell shows of a character. The grid stays aligned only
// if every character takes exactly one cell, in the terminal as in the
// window; what would take two cells, or none, is shown as '?'.
#ifndef TS_CELL_CHARACTER_H
#define TS_CELL_CHARACTER_H

#include <string>

namespace ts {

// The character itself when a terminal shows it one cell wide: ASCII (with
// its control characters, which the terminal writer blanks) and the
// alphabetic, punctuation and symbol blocks of single-width scripts. '?'
// for the rest: wide characters (East Asian scripts, most emoji),
// characters of no width (combining marks, joiners, variation selectors),
// C1 controls, malformed UTF-8 and the scripts a terminal may lay out on
// its own.
char32_t cellCharacter(char32_t code);

// The characters UTF-8 text shows, one a cell, each as cellCharacter()
// gives it; a malformed byte is one '?'.
std::u32string cellCharacters(const std::string &text);

// An ASCII character standing in for one the window's font has no glyph
// for: the Latin letter without its accent (a ligature or a letter drawn as
// two by its first one, since a cell holds one: 'ß' gives 's', 'Æ' 'A'),
// a plain quote, dash or space for the typographic ones; '?' for the rest.
char asciiStandIn(char32_t code);

}  // namespace ts

#endif
