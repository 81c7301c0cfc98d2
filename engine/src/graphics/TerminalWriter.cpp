#include "graphics/TerminalWriter.h"

#include <algorithm>

namespace ts {

namespace {

void appendNumber(int value, std::string &out) {
  char digits[12];
  int count = 0;
  unsigned int rest = static_cast<unsigned int>(value < 0 ? 0 : value);
  do {
    digits[count++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  while (count > 0) out += digits[--count];
}

void appendRgb(Rgb color, std::string &out) {
  appendNumber(color.r, out);
  out += ';';
  appendNumber(color.g, out);
  out += ';';
  appendNumber(color.b, out);
}

// The basic colour nearest in hue: each channel at least half the
// brightest one (and not near black) counts; red 1, green 2, blue 4.
int basicColor(Rgb color) {
  const int brightest = std::max({color.r, color.g, color.b});
  const int threshold = std::max(64, brightest / 2);
  return (color.r >= threshold ? 1 : 0) | (color.g >= threshold ? 2 : 0) | (color.b >= threshold ? 4 : 0);
}

}  // namespace

ColorDepth TerminalWriter::depthFor(const char *term, const char *color_term, std::string &why) {
  why.clear();
  const std::string colors = color_term ? color_term : "";
  if (colors == "truecolor" || colors == "24bit") return ColorDepth::TRUE_COLOR;
  if (!term || !*term) {
    why = "TERM is not set; drawing in the eight basic colours";
    return ColorDepth::EIGHT;
  }
  if (std::string(term) == "dumb") {
    why = "TERM is 'dumb'; drawing without colour";
    return ColorDepth::NONE;
  }
  return ColorDepth::TRUE_COLOR;
}

void TerminalWriter::appendColor(bool foreground, Rgb color, std::string &out) const {
  if (m_depth == ColorDepth::TRUE_COLOR) {
    out += foreground ? "38;2;" : "48;2;";
    appendRgb(color, out);
  } else if (m_depth == ColorDepth::EIGHT) {
    out += foreground ? '3' : '4';
    out += static_cast<char>('0' + basicColor(color));
  }
}

TerminalWriter::TerminalWriter()
    : m_depth(ColorDepth::TRUE_COLOR),
      m_cursor_x(-1),
      m_cursor_y(-1),
      m_colors_known(false),
      m_foreground{0, 0, 0},
      m_background{0, 0, 0} {}

void TerminalWriter::forget() {
  m_cursor_x = -1;
  m_cursor_y = -1;
  m_colors_known = false;
}

void TerminalWriter::appendCharacter(char32_t ch, std::string &out) {
  if (ch < 0x20 || (ch >= 0x7f && ch < 0xa0)) {
    out += ' ';
  } else if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xc0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3f));
  } else if (ch >= 0xd800 && ch <= 0xdfff) {
    out += '?';
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xe0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (ch & 0x3f));
  } else if (ch <= 0x10ffff) {
    out += static_cast<char>(0xf0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (ch & 0x3f));
  } else {
    out += '?';
  }
}

void TerminalWriter::writeCell(int x, int y, const Cell &cell, int width, std::string &out) {
  if (x != m_cursor_x || y != m_cursor_y) {
    out += "\x1b[";
    appendNumber(y + 1, out);
    out += ';';
    appendNumber(x + 1, out);
    out += 'H';
  }
  const bool new_foreground = !m_colors_known || cell.foreground != m_foreground;
  const bool new_background = !m_colors_known || cell.background != m_background;
  if ((new_foreground || new_background) && m_depth != ColorDepth::NONE) {
    out += "\x1b[";
    if (new_foreground) appendColor(true, cell.foreground, out);
    if (new_background) {
      if (new_foreground) out += ';';
      appendColor(false, cell.background, out);
    }
    out += 'm';
    m_foreground = cell.foreground;
    m_background = cell.background;
    m_colors_known = true;
  }
  appendCharacter(cell.ch, out);
  // After the last column the terminal waits to wrap; where the cursor then
  // is depends on the terminal, so the next cell moves it explicitly.
  m_cursor_x = x + 1 < width ? x + 1 : -1;
  m_cursor_y = y;
}

void TerminalWriter::writeFrame(const CellBuffer &shown, const CellBuffer &next, bool full, std::string &out) {
  const int width = next.getWidth(), height = next.getHeight();
  full = full || shown.getWidth() != width || shown.getHeight() != height;
  if (full) {
    // Clearing fills the screen with the current background colour, so
    // cells outside the frame match the frame's background.
    forget();
    out += "\x1b[0";
    if (m_depth != ColorDepth::NONE) out += ';';
    appendColor(false, next.getBackground(), out);
    out += "m\x1b[2J";
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Cell &cell = next.at(x, y);
      if (full || cell != shown.at(x, y)) writeCell(x, y, cell, width, out);
    }
}

}  // namespace ts
