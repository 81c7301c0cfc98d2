#include <tessera/core/Geometry.h>

#include <cmath>

namespace ts {

bool valueInRange(float value, float min, float max) { return min <= value && value <= max; }

float distance(Vector p1, Vector p2) {
  float dx = p1.getX() - p2.getX();
  float dy = p1.getY() - p2.getY();
  return std::sqrt(dx * dx + dy * dy);
}

bool boxContainsPosition(Box box, Vector position) {
  Vector corner = box.getCorner();
  return valueInRange(position.getX(), corner.getX(), corner.getX() + box.getHorizontal()) &&
         valueInRange(position.getY(), corner.getY(), corner.getY() + box.getVertical());
}

bool boxIntersectsBox(Box a, Box b) {
  float ax = a.getCorner().getX(), ay = a.getCorner().getY();
  float bx = b.getCorner().getX(), by = b.getCorner().getY();
  bool x_overlap = valueInRange(ax, bx, bx + b.getHorizontal()) || valueInRange(bx, ax, ax + a.getHorizontal());
  bool y_overlap = valueInRange(ay, by, by + b.getVertical()) || valueInRange(by, ay, ay + a.getVertical());
  return x_overlap && y_overlap;
}

}  // namespace ts
