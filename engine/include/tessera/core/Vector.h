/// @file
/// Vector, a position or velocity in character cells.
#ifndef TS_VECTOR_H
#define TS_VECTOR_H

#include <sstream>
#include <string>

namespace ts {

/// Two floats in character cells (or cells per step); y grows downwards.
class Vector {
 public:
  /// (0, 0).
  Vector();
  /// (x, y).
  Vector(float x, float y);

  /// Horizontal component.
  float getX() const { return m_x; }
  /// Vertical component (downwards).
  float getY() const { return m_y; }
  /// Sets the horizontal component.
  void setX(float x) { m_x = x; }
  /// Sets the vertical component.
  void setY(float y) { m_y = y; }
  /// Sets both components.
  void setXY(float x, float y) {
    m_x = x;
    m_y = y;
  }

  /// Length, sqrt(x² + y²).
  float getMagnitude() const;
  /// Scales to unit length; a zero vector is left as it is.
  void normalize();
  /// Multiplies both components by s.
  void scale(float s);

  /// Component-wise sum.
  Vector operator+(const Vector &other) const;
  /// Component-wise difference.
  Vector operator-(const Vector &other) const;
  /// Adds other component-wise; returns this vector.
  Vector &operator+=(const Vector &other);
  /// Both components times s.
  Vector operator*(float s) const;
  /// Multiplies both components by s; returns this vector.
  Vector &operator*=(float s);
  /// Both components divided by s. Dividing by 0 gives the zero vector, not
  /// infinities: a velocity or position made of those would poison every
  /// later move and collision test.
  Vector operator/(float s) const;
  /// Divides both components by s (by 0: the zero vector); returns this vector.
  Vector &operator/=(float s);
  /// Exact equality of both components.
  bool operator==(const Vector &other) const;
  /// Not operator==.
  bool operator!=(const Vector &other) const;

  /// "(x,y)", for log lines.
  std::string toString() const;
  /// Appends x and y (raw floats) to stream; 0, or -1 with a log line
  /// "Vector::serialize(): Error! Stream ..." when the stream failed.
  int serialize(std::stringstream &stream) const;
  /// Reads x and y back from stream; 0, or -1 with a log line
  /// "Vector::deserialize(): Error! Stream ..." when the stream ran short or failed.
  int deserialize(std::stringstream &stream);

 private:
  float m_x;
  float m_y;
};

/// s times both components of v (the same as v * s).
Vector operator*(float s, const Vector &v);

}  // namespace ts

#endif
