// Circles whose images under inversion nest: each circle bounds a
// generalised disc (its inside, or for an enclosing circle its outside),
// and no two of these discs overlap. Inversion in a circle then sends every
// other disc into its own disc, so the images of the discs under words of
// inversions (never the same circle twice in a row) nest word by word and
// close down on the limit set (limit_set.h draws it that way).
//
// A circle encloses when it holds the centres of all the others; its disc
// is then its outside. Two discs count as tangent, not overlapping, while
// they overlap by at most nested_tolerance times the smaller radius (0.1 %:
// the programs' circles are rounded to floats or to three decimals). An
// overlap makes the word of the two inversions a small rotation whose images
// stop shrinking, and the words then multiply up to the depth bound.
//
// The programs' walk configurations (program_circles.h), checked:
//   nest:  soddy_gasket; five_circle_limit's three (the first's outer radius
//          2.414 overlaps its ring by 0.02 %); ring_zoom's first stage (the
//          central circle encloses); two_circle_iteration (two disjoint
//          circles); soddy_radius_sweep's first three passes (the central
//          circle apart from the three, then touching them).
//   don't: four_circle_packing, whose circles, given to three decimals,
//          overlap by up to 0.35 % of the smaller radius (circles 0 and 1);
//          soddy_radius_sweep from its fourth pass on, where the central
//          circle overlaps the three.
#pragma once

#include "circle.h"

constexpr int max_nested_circles = 16;
constexpr double nested_tolerance = 0.001;

// A generalised disc: the inside of the circle, or its outside.
struct GeneralDisc {
  double x;
  double y;
  double r;
  bool outside;
};

struct NestedDiscs {
  int n;
  GeneralDisc disc[max_nested_circles];
};

enum class NestFault { none, count, radius, overlap };

struct NestCheck {
  NestFault fault;  // none: the discs nest
  int first;        // the circle at fault, or the first of an overlapping pair
  int second;       // the other of the pair, or -1
};

// The discs of n circles (2 to max_nested_circles, radii finite and
// positive, centres finite), and whether they nest. `discs` is filled
// whenever the count and radii are good, even for an overlap.
NestCheck nested_discs(const Circle* circles, int n, NestedDiscs& discs);
