// An upper-left corner and horizontal and vertical extents, in cells.
#ifndef TS_BOX_H
#define TS_BOX_H

#include <sstream>
#include <string>

#include <tessera/core/Vector.h>

namespace ts {

class Box {
 public:
  Box();
  Box(Vector corner, float horizontal, float vertical);

  Vector getCorner() const { return m_corner; }
  void setCorner(Vector corner) { m_corner = corner; }
  float getHorizontal() const { return m_horizontal; }
  void setHorizontal(float horizontal) { m_horizontal = horizontal; }
  float getVertical() const { return m_vertical; }
  void setVertical(float vertical) { m_vertical = vertical; }

  bool operator==(const Box &other) const;

  std::string toString() const;
  int serialize(std::stringstream &stream) const;
  int deserialize(std::stringstream &stream);

 private:
  Vector m_corner;
  float m_horizontal;
  float m_vertical;
};

}  // namespace ts

#endif
