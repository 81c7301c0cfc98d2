// Which pixels of the frame something may have been drawn on since the
// window was cleared, kept as a grid of small tiles. A cell's background
// rectangle only changes pixels that were drawn on before (elsewhere the
// cleared window already has the background colour), so the display
// manager draws just the part of it over drawn tiles.
#ifndef TS_DRAWN_AREA_H
#define TS_DRAWN_AREA_H

#include <vector>

namespace ts {

// A box of pixels: [left, right) x [top, bottom).
struct PixelBox {
  float left;
  float top;
  float right;
  float bottom;
};

class DrawnArea {
 public:
  DrawnArea();
  // Everything clean, for a window of the given size in pixels.
  void reset(int width, int height);
  // Everything counts as drawn on until the next reset.
  void markAll() { m_all = true; }
  void mark(const PixelBox &box);
  // Narrows the box to the part that covers drawn tiles, with the new edges
  // on whole pixels, or returns false when it covers none.
  bool clip(PixelBox &box) const;

 private:
  // The range of tiles that a box touches, clamped to the window; false when
  // the box lies outside it.
  bool tileRange(const PixelBox &box, int &x0, int &y0, int &x1, int &y1) const;

  static const int TILE = 2;
  int m_columns;
  int m_rows;
  bool m_all;
  std::vector<unsigned char> m_tiles;
};

}  // namespace ts

#endif
