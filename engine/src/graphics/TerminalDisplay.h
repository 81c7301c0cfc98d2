// The display in a terminal: the alternate screen with the cursor hidden,
// one cell per character. Drawing fills a buffer; present() writes the cells
// that changed since the last frame in one write and starts a fresh buffer.
// Shapes, filled figures in pixels, are skipped: a terminal has only cells.
// A terminal smaller than the world shows, in place of the world's top-left
// part, how large it is and the size the game needs, until it is enlarged.
#ifndef TS_TERMINAL_DISPLAY_H
#define TS_TERMINAL_DISPLAY_H

#include <string>

#include "graphics/CellBuffer.h"
#include "graphics/DrawingSurface.h"
#include "graphics/TerminalWriter.h"

namespace ts {

class TerminalDisplay : public DrawingSurface {
 public:
  TerminalDisplay();
  ~TerminalDisplay() override;
  TerminalDisplay(const TerminalDisplay &) = delete;
  TerminalDisplay &operator=(const TerminalDisplay &) = delete;

  // Takes over the terminal. The world is `columns` x `rows` cells, or the
  // terminal's size along an axis marked to fit. 0, or -1 (logged).
  int open(int &columns, int &rows, bool fit_columns, bool fit_rows, Rgb background);
  // Switches the terminal back; also done by the destructor.
  void close();
  // One character at a cell of the view; outside the terminal it is dropped.
  void draw(int x, int y, char32_t ch, Rgb color);
  // Shows what was drawn since the last call; -1 once the terminal is gone.
  int present() override;

  bool isTerminal() const override { return true; }
  // The character goes to the cell the position lies in.
  void drawCell(Vector view_pos, char32_t ch, Rgb color, float rotation) override;
  // Logs the first skipped shape after opening.
  void drawShape(const Shape &shape, Vector view_pos) override;

 private:
  void fitToTerminal(const char *operation);
  // Replaces the frame with the lines saying the terminal is too small.
  void drawSizeNotice();

  bool m_open;
  bool m_gone;
  bool m_full;  // the next frame rewrites the whole screen
  bool m_shape_skip_logged;
  int m_world_columns;
  int m_world_rows;
  int m_terminal_columns = 0;
  int m_terminal_rows = 0;
  bool m_too_small = false;
  Rgb m_background;
  CellBuffer m_shown;
  CellBuffer m_next;
  TerminalWriter m_writer;
  std::string m_output;
};

}  // namespace ts

#endif
