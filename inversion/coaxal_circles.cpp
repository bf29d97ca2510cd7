#include "coaxal_circles.h"

#include <cmath>

#include "draw_line.h"

Point foot_point(const CircleEquation& first, const CircleEquation& second) {
  const double dx = second.a - first.a;
  const double dy = second.b - first.b;
  const double L = second.c - first.c;
  // Exact equality picks the vertical branch; any difference in y, however
  // small, takes the general one.
  if (first.b == second.b) return {L / (2 * dx), first.b};
  const double x0 = (L * dx - 2 * dy * (first.b * second.a - second.b * first.a)) /
                    (2 * (dx * dx + dy * dy));
  return {x0, L / (2 * dy) - (dx / dy) * x0};
}

void radical_axis(const Canvas& canvas, const CircleEquation& first, const CircleEquation& second,
                  const WorldFrame& frame, std::uint32_t colour) {
  const double dx = second.a - first.a;
  const double dy = second.b - first.b;
  if (dx == 0 && dy == 0) return;  // concentric: no radical axis
  const Point foot = foot_point(first, second);
  Point from, to;
  if (first.b == second.b) {
    from = {foot.x, first.b - 18};
    to = {foot.x, first.b + 18};
  } else {
    from = {foot.x + 3 * dy, foot.y - 3 * dx};
    to = {foot.x - 3 * dy, foot.y + 3 * dx};
  }
  draw_line(canvas, frame_column(frame, from.x), frame_row(frame, from.y),
            frame_column(frame, to.x), frame_row(frame, to.y), colour);
}

LimitingPoints limiting_points(const CircleEquation& first, const CircleEquation& second) {
  const double dx = second.a - first.a;
  const double dy = second.b - first.b;
  const Point foot = foot_point(first, second);
  // The power of the foot point with respect to either circle.
  const double P = first.c + foot.x * foot.x + foot.y * foot.y - 2 * first.a * foot.x -
                   2 * first.b * foot.y;
  if (!(P > 0) || (dx == 0 && dy == 0)) return {{0, 0}, {0, 0}, false};
  const double t = std::sqrt(P);  // radius of the circle cutting both at right angles
  const double v = std::sqrt(dx * dx + dy * dy);
  return {{foot.x + dx * t / v, foot.y + dy * t / v}, {foot.x - dx * t / v, foot.y - dy * t / v}, true};
}

Circle apollonius_circle(Point A, Point B, double lambda) {
  // The points dividing AB internally and externally in the ratio lambda : 1
  // are the ends of a diameter.
  const Point E1{(A.x + lambda * B.x) / (1 + lambda), (A.y + lambda * B.y) / (1 + lambda)};
  const Point E2{(A.x - lambda * B.x) / (1 - lambda), (A.y - lambda * B.y) / (1 - lambda)};
  const Point D{(E1.x + E2.x) * 0.5, (E1.y + E2.y) * 0.5};
  return {D.x, D.y, std::sqrt((E1.x - D.x) * (E1.x - D.x) + (E1.y - D.y) * (E1.y - D.y))};
}
