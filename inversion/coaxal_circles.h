// Coaxal circles: the radical axis and the limiting points of two circles,
// the Apollonius circle of two points, and the circles through two points.
//
// A circle is handed over as its equation x^2 + y^2 - 2ax - 2by + c = 0,
// c = a^2 + b^2 - r^2. The radical axis is the line of equal power with
// respect to both circles; the limiting points are the point-circles of the
// pencil the two circles span; inversion in a circle about one limiting
// point makes the whole pencil concentric.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "circle.h"
#include "world_frame.h"

struct CircleEquation {
  double a;  // centre x
  double b;  // centre y
  double c;  // a^2 + b^2 - r^2
};

struct LimitingPoints {
  Point L1;  // on the side of the second circle's centre
  Point L2;  // on the side of the first circle's centre
  bool exist;  // false for circles that meet or share a centre
};

// Where the radical axis crosses the line of centres.
Point foot_point(const CircleEquation& first, const CircleEquation& second);

// Draws a segment of the radical axis (clipped by draw_line): vertical and
// 36 units long when the centres share their y value, else along the axis
// and six times the centre distance long. Concentric circles have no axis
// and draw nothing.
void radical_axis(const Canvas& canvas, const CircleEquation& first, const CircleEquation& second,
                  const WorldFrame& frame, std::uint32_t colour);

// The two limiting points, where the circle about the foot point that cuts
// both at right angles meets the line of centres. Circles that meet (or
// share a centre) have none; the caller decides what to draw or report.
LimitingPoints limiting_points(const CircleEquation& first, const CircleEquation& second);

// The circle of points P with |PA| = lambda |PB| (lambda > 0, lambda != 1).
Circle apollonius_circle(Point A, Point B, double lambda);
