// Points and circles in world units, in doubles.
#pragma once

struct Point {
  double x;
  double y;
};

struct Circle {
  double x;  // centre
  double y;
  double r;  // radius, non-negative
};
