#include <tessera/core/Vector.h>

#include <cmath>

#include <tessera/core/Stream.h>
#include <tessera/system/Text.h>

namespace ts {

Vector::Vector() : m_x(0), m_y(0) {}
Vector::Vector(float x, float y) : m_x(x), m_y(y) {}

float Vector::getMagnitude() const { return std::sqrt(m_x * m_x + m_y * m_y); }

void Vector::normalize() {
  float length = getMagnitude();
  if (length > 0) {
    m_x /= length;
    m_y /= length;
  }
}

void Vector::scale(float s) {
  m_x *= s;
  m_y *= s;
}

Vector Vector::operator+(const Vector &other) const { return Vector(m_x + other.m_x, m_y + other.m_y); }
Vector Vector::operator-(const Vector &other) const { return Vector(m_x - other.m_x, m_y - other.m_y); }

Vector &Vector::operator+=(const Vector &other) {
  m_x += other.m_x;
  m_y += other.m_y;
  return *this;
}

Vector Vector::operator*(float s) const { return Vector(m_x * s, m_y * s); }

Vector &Vector::operator*=(float s) { return *this = *this * s; }

Vector Vector::operator/(float s) const { return s == 0 ? Vector() : Vector(m_x / s, m_y / s); }

Vector &Vector::operator/=(float s) { return *this = *this / s; }

Vector operator*(float s, const Vector &v) { return v * s; }

bool Vector::operator==(const Vector &other) const { return m_x == other.m_x && m_y == other.m_y; }
bool Vector::operator!=(const Vector &other) const { return !(*this == other); }

std::string Vector::toString() const { return "(" + ts::toString(m_x) + "," + ts::toString(m_y) + ")"; }

int Vector::serialize(std::stringstream &stream) const { return writeRecord(stream, "Vector::serialize()", m_x, m_y); }

int Vector::deserialize(std::stringstream &stream) { return readRecord(stream, "Vector::deserialize()", m_x, m_y); }

}  // namespace ts
