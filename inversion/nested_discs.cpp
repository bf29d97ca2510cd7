#include "nested_discs.h"

#include <cmath>

// Centre distance by a correctly rounded sqrt (not hypot, whose rounding
// differs between libraries), so every build agrees on the answer.
static double distance(const Circle& a, const Circle& b) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

static bool encloses(const Circle* c, int n, int i) {
  for (int j = 0; j < n; ++j)
    if (j != i && !(distance(c[i], c[j]) < c[i].r)) return false;
  return true;
}

// How far the discs of a and b reach into one another (negative: apart).
static double overlap(const Circle& a, bool a_outside, const Circle& b, bool b_outside) {
  const double d = distance(a, b);
  // Two outsides always meet: no two circles' insides cover the plane.
  if (a_outside && b_outside) return INFINITY;
  if (a_outside) return d + b.r - a.r;
  if (b_outside) return d + a.r - b.r;
  return a.r + b.r - d;
}

NestCheck nested_discs(const Circle* circles, int n, NestedDiscs& discs) {
  if (n < 2 || n > max_nested_circles) return {NestFault::count, -1, -1};
  for (int i = 0; i < n; ++i) {
    const Circle& c = circles[i];
    if (!(c.r > 0) || !std::isfinite(c.r) || !std::isfinite(c.x) || !std::isfinite(c.y))
      return {NestFault::radius, i, -1};
  }
  discs.n = n;
  for (int i = 0; i < n; ++i)
    discs.disc[i] = {circles[i].x, circles[i].y, circles[i].r, encloses(circles, n, i)};
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) {
      const double allowed = nested_tolerance * std::fmin(circles[i].r, circles[j].r);
      if (!(overlap(circles[i], discs.disc[i].outside, circles[j], discs.disc[j].outside) <=
            allowed))
        return {NestFault::overlap, i, j};
    }
  return {NestFault::none, -1, -1};
}
