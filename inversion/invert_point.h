// Inversion of a point in the circle with centre (cx, cy) and radius
// squared R2: the point on the ray from the centre with |p - c| |p' - c| = R2.
#pragma once

#include "circle.h"

// The mirror centre itself has no image: its result is not finite
// (callers never pass it; the walk refuses such a step).
inline Point invert_point(double x, double y, double cx, double cy, double R2) {
  const double dx = x - cx;
  const double dy = y - cy;
  const double d2 = dx * dx + dy * dy;
  return {cx + dx * R2 / d2, cy + dy * R2 / d2};
}
