// Plane geometry on cells: ranges, distances and box tests.
#ifndef TS_GEOMETRY_H
#define TS_GEOMETRY_H

#include <tessera/core/Box.h>
#include <tessera/core/Vector.h>

namespace ts {

bool valueInRange(float value, float min, float max);
float distance(Vector p1, Vector p2);
// Edges count as inside.
bool boxContainsPosition(Box box, Vector position);
bool boxIntersectsBox(Box a, Box b);

}  // namespace ts

#endif
