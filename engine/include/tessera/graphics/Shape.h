// A filled circle, square or triangle that an object can draw in pixels.
#ifndef TS_SHAPE_H
#define TS_SHAPE_H

#include <sstream>
#include <string>

#include <tessera/core/Color.h>
#include <tessera/core/Vector.h>
#include <tessera/system/Text.h>

namespace ts {

enum ShapeType {
  UNDEFINED_SHAPE = -1,
  CIRCLE = 0,
  SQUARE = 1,
  TRIANGLE = 2,
};

class Shape {
 public:
  Shape();
  void setColor(Color color) { m_color = color; }
  Color getColor() const { return m_color; }
  void setRGB(unsigned char r, unsigned char g, unsigned char b) {
    m_r = r;
    m_g = g;
    m_b = b;
  }
  unsigned char getR() const { return m_r; }
  unsigned char getG() const { return m_g; }
  unsigned char getB() const { return m_b; }
  // Values -1..2 are stored; others are refused with a log line.
  void setType(int type);
  int getType() const { return m_type; }
  void setSize(float size) { m_size = size; }
  float getSize() const { return m_size; }
  void setOpacity(unsigned char opacity) { m_opacity = opacity; }
  unsigned char getOpacity() const { return m_opacity; }

  // Draws at a world position (cells) straight into the window.
  void draw(Vector position);
  int serialize(std::stringstream &stream) const;
  int deserialize(std::stringstream &stream);
  std::string toString() const;

 private:
  Color m_color;
  unsigned char m_r;
  unsigned char m_g;
  unsigned char m_b;
  int m_type;
  float m_size;
  unsigned char m_opacity;
};

}  // namespace ts

#endif
