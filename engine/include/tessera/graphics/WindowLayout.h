/// @file
/// WindowLayout and DisplayLimits: the window's sizes, checked before it exists.
#ifndef TS_WINDOW_LAYOUT_H
#define TS_WINDOW_LAYOUT_H

#include <string>

#include <tessera/core/Config.h>

namespace ts {

/// What the display offers: the desktop's size, which a configured size of 0
/// stands for, and the longest window side it can make.
struct DisplayLimits {
  int desktop_width;   ///< desktop width in pixels
  int desktop_height;  ///< desktop height in pixels
  int longest_side;    ///< longest window side in pixels
};

/// The window's size in pixels, the size of its cells and of the glyphs drawn
/// in them, worked out from the configuration before any window exists and
/// checked against what the display can make. A setting the display cannot
/// honour is refused here, with the text of a log line that names it, instead
/// of reaching the window library (which may then wait forever for a window
/// the window system refused, or allocate gigabytes for glyphs).
class WindowLayout {
 public:
  /// A glyph may be at most this many times the cell's longer side, and at
  /// most LARGEST_GLYPH pixels: the printable glyphs are all made at start-up,
  /// and beyond 512 pixels their texture needs hundreds of megabytes.
  static constexpr int GLYPH_CELLS = 4;
  /// The largest glyph in pixels.
  static constexpr int LARGEST_GLYPH = 512;

  /// Works the layout out from the configured pixels, cells and font scale;
  /// the first setting that cannot be honoured leaves its problem and stops.
  WindowLayout(const Config &config, const DisplayLimits &limits);

  /// Whether every setting can be honoured.
  bool isValid() const { return m_problem.empty(); }
  /// Why the configuration cannot be honoured (the setting, its value and
  /// the range allowed); empty when it can.
  const std::string &getProblem() const { return m_problem; }

  /// Window width in pixels (the desktop's for a configured 0).
  int getHorizontalPixels() const { return m_horizontal_pixels; }
  /// Window height in pixels.
  int getVerticalPixels() const { return m_vertical_pixels; }
  /// Cell width in pixels.
  float getCellWidth() const { return m_cell_width; }
  /// Cell height in pixels.
  float getCellHeight() const { return m_cell_height; }
  /// Font scale times the smaller cell side, truncated; 0 when not valid.
  unsigned int getCharacterSize() const { return m_character_size; }
  /// Where the window's top-left corner goes: centred on the desktop and
  /// wholly on it; at 0 on an axis where the window is larger than the
  /// desktop.
  int getLeft() const { return m_left; }
  /// The top edge's place, as getLeft() is the left edge's.
  int getTop() const { return m_top; }

 private:
  bool checkPixels(const char *key, int configured, int desktop, int longest_side, int &pixels);
  bool checkCells(const char *key, int cells);
  bool checkGlyph(float font_scale);

  std::string m_problem;
  int m_horizontal_pixels;
  int m_vertical_pixels;
  float m_cell_width;
  float m_cell_height;
  unsigned int m_character_size;
  int m_left;
  int m_top;
};

}  // namespace ts

#endif
