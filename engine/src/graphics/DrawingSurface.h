// Where the display manager draws once it has started: the window or the
// terminal. The manager picks one at start-up and hands every drawing call
// to it with positions already relative to the view; headless, it has none.
#ifndef TS_DRAWING_SURFACE_H
#define TS_DRAWING_SURFACE_H

#include <tessera/core/Vector.h>

#include "graphics/CellBuffer.h"

namespace ts {

class Shape;

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // Whether the surface is the terminal: cells without pixels.
  virtual bool isTerminal() const = 0;
  // One character (a code point one cell wide) at a position in cells from
  // the view's top-left corner.
  virtual void drawCell(Vector view_pos, char32_t ch, Rgb color, float rotation) = 0;
  // A shape at a position in cells from the view's top-left corner.
  virtual void drawShape(const Shape &shape, Vector view_pos) = 0;
  // Shows what was drawn since the last call and starts the next frame; 0,
  // or -1 when the surface cannot show it.
  virtual int present() = 0;
  // Draws what is queued now, so that what the caller draws next lands on top.
  virtual void flush() {}
  // Whether cells may be queued and drawn together.
  virtual void setBatching(bool) {}
};

}  // namespace ts

#endif
