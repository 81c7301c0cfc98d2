/// @file
/// Plane geometry on cells: ranges, distances and box tests.
#ifndef TS_GEOMETRY_H
#define TS_GEOMETRY_H

#include <tessera/core/Box.h>
#include <tessera/core/Vector.h>

namespace ts {

/// min <= value <= max.
bool valueInRange(float value, float min, float max);
/// Euclidean distance between p1 and p2 in cells.
float distance(Vector p1, Vector p2);
/// Whether position lies in box; edges count as inside.
bool boxContainsPosition(Box box, Vector position);
/// Whether a and b overlap; touching edges count as overlap.
bool boxIntersectsBox(Box a, Box b);

}  // namespace ts

#endif
