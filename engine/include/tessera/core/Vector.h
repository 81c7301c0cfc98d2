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
  bool operator==(const Vector &other) const;
  bool operator!=(const Vector &other) const;

  std::string toString() const;
  int serialize(std::stringstream &stream) const;
  int deserialize(std::stringstream &stream);

 private:
  float m_x;
  float m_y;
};

}  // namespace ts

#endif
