// A grid of character cells as the terminal should show them: one character
// (a Unicode code point), a foreground and a background colour per cell.
#ifndef TS_CELL_BUFFER_H
#define TS_CELL_BUFFER_H

#include <cstddef>
#include <vector>

namespace ts {

struct Rgb {
  unsigned char r;
  unsigned char g;
  unsigned char b;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

struct Cell {
  char32_t ch;
  Rgb foreground;
  Rgb background;
};

inline bool operator==(const Cell &a, const Cell &b) {
  return a.ch == b.ch && a.foreground == b.foreground && a.background == b.background;
}
inline bool operator!=(const Cell &a, const Cell &b) { return !(a == b); }

class CellBuffer {
 public:
  CellBuffer();
  // Every cell blank: a space in the background colour.
  void resize(int width, int height, Rgb background);
  void clear();
  // Cells outside the grid are ignored.
  void set(int x, int y, const Cell &cell);
  const Cell &at(int x, int y) const { return m_cells[static_cast<size_t>(y) * static_cast<size_t>(m_width) + x]; }
  int getWidth() const { return m_width; }
  int getHeight() const { return m_height; }
  Rgb getBackground() const { return m_blank.background; }

 private:
  int m_width;
  int m_height;
  Cell m_blank;
  std::vector<Cell> m_cells;
};

}  // namespace ts

#endif
