/// @file
/// Text conversions shared by the engine: numbers, masks, and the names of
/// the engine's small enumerations.
#ifndef TS_TEXT_H
#define TS_TEXT_H

#include <cstdint>
#include <string>

namespace ts {

/// The value in decimal.
std::string toString(int value);
/// The value as a stream prints it (6 significant digits).
std::string toString(float value);
/// The leading decimal number of text (like atoi), saturated to the int range
/// instead of overflowing; 0 when text does not start with a number.
int toInt(const std::string &text);

/// The value saturated to the int range.
int clampToInt(long long value);

/// 32 characters '0'/'1', most significant bit first.
std::string maskToString(uint32_t mask);

/// "hard", "soft" or "spectral" for a Solidness; "undefined" otherwise.
std::string solidnessToString(int solidness);
/// The name of a ViewObject Location ("top-left", "center-center", "bot-right" ...); "unknown" otherwise.
std::string locationToString(int location);
/// One printable character for a Keyboard::Key (" " for SPACE), or empty.
std::string keyToString(int key);

/// Stands for a byte of UTF-8 text that starts no well-formed character.
const char32_t MALFORMED_UTF8 = 0xFFFD;
/// Reads the character (code point) of UTF-8 text that starts at byte
/// `index` and moves `index` past it. A byte that starts no well-formed
/// character (a stray continuation byte, a form cut short or overlong, a
/// surrogate, a value past U+10FFFF) is taken alone: the result is
/// MALFORMED_UTF8 and `index` moves one byte on. Nothing past the end of
/// `text` is read; at or past the end the result is MALFORMED_UTF8 and
/// `index` is left alone.
char32_t nextCharacter(const std::string &text, size_t &index);
/// How many characters UTF-8 text holds as nextCharacter() reads it: each
/// malformed byte counts as one.
int characterCount(const std::string &text);

}  // namespace ts

#endif
