/// @file
/// Shape, a filled figure drawn in pixels.
#ifndef TS_SHAPE_H
#define TS_SHAPE_H

#include <sstream>
#include <string>

#include <tessera/core/Color.h>
#include <tessera/core/Vector.h>
#include <tessera/system/Text.h>

namespace ts {

/// The figures a Shape draws.
enum ShapeType {
  UNDEFINED_SHAPE = -1,
  CIRCLE = 0,
  SQUARE = 1,
  TRIANGLE = 2,
};

/// A filled circle, square or triangle that an object can draw in pixels,
/// straight into the window (the terminal skips shapes).
class Shape {
 public:
  /// A white circle, opaque, sized the font scale times the smaller cell side.
  Shape();
  /// Sets the colour; CUSTOM draws the RGB set with setRGB().
  void setColor(Color color) { m_color = color; }
  /// The colour.
  Color getColor() const { return m_color; }
  /// Sets the RGB used for CUSTOM (other colours overwrite it when drawn).
  void setRGB(unsigned char r, unsigned char g, unsigned char b) {
    m_r = r;
    m_g = g;
    m_b = b;
  }
  /// Red of the RGB.
  unsigned char getR() const { return m_r; }
  /// Green of the RGB.
  unsigned char getG() const { return m_g; }
  /// Blue of the RGB.
  unsigned char getB() const { return m_b; }
  /// Sets the ShapeType; values -1..2 are stored, others are refused with a
  /// log line ("Shape::setType(): Unknown shape type N. Ignoring.").
  void setType(int type);
  /// The ShapeType.
  int getType() const { return m_type; }
  /// Sets the size in pixels (a circle's radius, a triangle's diameter).
  void setSize(float size) { m_size = size; }
  /// The size in pixels.
  float getSize() const { return m_size; }
  /// Sets the opacity, 0 (invisible) to 255 (opaque).
  void setOpacity(unsigned char opacity) { m_opacity = opacity; }
  /// The opacity.
  unsigned char getOpacity() const { return m_opacity; }

  /// Draws at a world position (cells) straight into the window; without a
  /// window it is logged and skipped.
  void draw(Vector position);
  /// Appends type, size, colour and opacity; 0, or -1 with a log line.
  int serialize(std::stringstream &stream) const;
  /// Reads them back; 0, or -1 with a log line on a short or failed stream.
  int deserialize(std::stringstream &stream);
  /// "<type>, size <size>, <Colour>, <opacity>", for log lines.
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
