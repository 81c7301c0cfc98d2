// Turns a frame of cells into the bytes that make a terminal show it: only
// the cells that differ from the frame on screen, cursor moves only where
// the next cell is not where the cursor already is, colour changes only
// where the colour changes. 24-bit colour for foreground and background, or,
// for terminals that say they have less, the eight basic colours or none.
#ifndef TS_TERMINAL_WRITER_H
#define TS_TERMINAL_WRITER_H

#include <string>

#include "graphics/CellBuffer.h"

namespace ts {

enum class ColorDepth { TRUE_COLOR, EIGHT, NONE };

class TerminalWriter {
 public:
  TerminalWriter();
  // The depth for the terminal's TERM and COLORTERM (null when unset):
  // COLORTERM "truecolor" or "24bit", or any named TERM but "dumb", keeps
  // 24-bit colour; no TERM gives the eight basic colours and "dumb" none,
  // each with its reason in `why`.
  static ColorDepth depthFor(const char *term, const char *color_term, std::string &why);
  void setColorDepth(ColorDepth depth) { m_depth = depth; }
  // Appends to `out` what turns `shown` into `next`. With `full` (or
  // buffers of different sizes) the screen is cleared and every cell is
  // written. Both buffers must be the same size unless `full`.
  void writeFrame(const CellBuffer &shown, const CellBuffer &next, bool full, std::string &out);
  // Forgets the cursor and colours, as after someone else wrote.
  void forget();

  // The bytes a character (code point) becomes: control characters (C0 and
  // C1, which would move the cursor or start a command) become a blank,
  // everything else its UTF-8; a value no character has becomes '?'.
  static void appendCharacter(char32_t ch, std::string &out);

 private:
  void writeCell(int x, int y, const Cell &cell, int width, std::string &out);
  // The colour's select sequence body: "38;2;r;g;b", "3n" or nothing.
  void appendColor(bool foreground, Rgb color, std::string &out) const;

  ColorDepth m_depth;

  int m_cursor_x;  // -1: unknown
  int m_cursor_y;
  bool m_colors_known;
  Rgb m_foreground;
  Rgb m_background;
};

}  // namespace ts

#endif
