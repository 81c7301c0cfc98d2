/// @file
/// Frame, one picture of a sprite.
#ifndef TS_FRAME_H
#define TS_FRAME_H

#include <string>

#include <tessera/core/Color.h>
#include <tessera/core/Vector.h>

namespace ts {

/// One picture of a sprite: width x height characters, row-major.
class Frame {
 public:
  /// An empty frame (0 x 0), which draws nothing.
  Frame();
  /// A frame of width x height characters from frame_str, row after row.
  Frame(int width, int height, std::string frame_str);
  /// Width in characters.
  int getWidth() const { return m_width; }
  /// Height in characters.
  int getHeight() const { return m_height; }
  /// The characters, row after row.
  std::string getString() const { return m_frame_str; }
  /// Draws the frame centred on the position (world cells) in color; cells
  /// equal to a non-zero transparency character are skipped. 0, also when the
  /// frame is empty or shorter than width x height (nothing is drawn then);
  /// -1 when the display refused a cell.
  int draw(Vector position, Color color, char transparency) const;

 private:
  int m_width;
  int m_height;
  std::string m_frame_str;
};

}  // namespace ts

#endif
