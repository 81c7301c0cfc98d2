// Turns a frame of cells into the bytes that make a terminal show it: only
// the cells that differ from the frame on screen, cursor moves only where
// the next cell is not where the cursor already is, colour changes only
// where the colour changes. 24-bit colour for foreground and background.
#ifndef TS_TERMINAL_WRITER_H
#define TS_TERMINAL_WRITER_H

#include <string>

#include "graphics/CellBuffer.h"

namespace ts {

class TerminalWriter {
 public:
  TerminalWriter();
  // Appends to `out` what turns `shown` into `next`. With `full` (or
  // buffers of different sizes) the screen is cleared and every cell is
  // written. Both buffers must be the same size unless `full`.
  void writeFrame(const CellBuffer &shown, const CellBuffer &next, bool full, std::string &out);
  // Forgets the cursor and colours, as after someone else wrote.
  void forget();

  // The bytes a character becomes: control characters (which would move the
  // cursor or start a command) become a blank, bytes from 0xA0 up their
  // Latin-1 character in UTF-8.
  static void appendCharacter(unsigned char ch, std::string &out);

 private:
  void writeCell(int x, int y, const Cell &cell, int width, std::string &out);

  int m_cursor_x;  // -1: unknown
  int m_cursor_y;
  bool m_colors_known;
  Rgb m_foreground;
  Rgb m_background;
};

}  // namespace ts

#endif
