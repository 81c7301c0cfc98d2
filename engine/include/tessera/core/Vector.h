// Two floats in character cells; y grows downwards.
#ifndef TS_VECTOR_H
#define TS_VECTOR_H

#include <sstream>
#include <string>

namespace ts {

class Vector {
 public:
  Vector();
  Vector(float x, float y);

  float getX() const { return m_x; }
  float getY() const { return m_y; }
  void setX(float x) { m_x = x; }
  void setY(float y) { m_y = y; }
  void setXY(float x, float y) {
    m_x = x;
    m_y = y;
  }

  float getMagnitude() const;
  // Scales to unit length; a zero vector is left as it is.
  void normalize();
  void scale(float s);

  Vector operator+(const Vector &other) const;
  Vector operator-(const Vector &other) const;
  Vector &operator+=(const Vector &other);
  /// Both components times s.
  Vector operator*(float s) const;
  Vector &operator*=(float s);
  /// Both components divided by s. Dividing by 0 gives the zero vector, not
  /// infinities: a velocity or position made of those would poison every
  /// later move and collision test.
  Vector operator/(float s) const;
  Vector &operator/=(float s);
  bool operator==(const Vector &other) const;
  bool operator!=(const Vector &other) const;

  std::string toString() const;
  int serialize(std::stringstream &stream) const;
  int deserialize(std::stringstream &stream);

 private:
  float m_x;
  float m_y;
};

/// s times both components of v (the same as v * s).
Vector operator*(float s, const Vector &v);

}  // namespace ts

#endif
