/// @file
/// Box, a rectangle in character cells.
#ifndef TS_BOX_H
#define TS_BOX_H

#include <sstream>
#include <string>

#include <tessera/core/Vector.h>

namespace ts {

/// An upper-left corner and horizontal and vertical extents, in cells. The
/// extents reach from the corner to corner + extent, both edges inside.
class Box {
 public:
  /// Corner (0, 0), extents 0.
  Box();
  /// A box at corner with the given extents.
  Box(Vector corner, float horizontal, float vertical);

  /// Upper-left corner.
  Vector getCorner() const { return m_corner; }
  /// Sets the upper-left corner.
  void setCorner(Vector corner) { m_corner = corner; }
  /// Horizontal extent in cells.
  float getHorizontal() const { return m_horizontal; }
  /// Sets the horizontal extent.
  void setHorizontal(float horizontal) { m_horizontal = horizontal; }
  /// Vertical extent in cells.
  float getVertical() const { return m_vertical; }
  /// Sets the vertical extent.
  void setVertical(float vertical) { m_vertical = vertical; }

  /// Same corner and extents.
  bool operator==(const Box &other) const;

  /// "(x,y) h: H v: V", for log lines.
  std::string toString() const;
  /// Appends the corner and extents to stream; 0, or -1 with a log line when
  /// the stream failed.
  int serialize(std::stringstream &stream) const;
  /// Reads the corner and extents back; 0, or -1 with a log line when the
  /// stream ran short or failed.
  int deserialize(std::stringstream &stream);

 private:
  Vector m_corner;
  float m_horizontal;
  float m_vertical;
};

}  // namespace ts

#endif
