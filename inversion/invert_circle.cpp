#include "invert_circle.h"

#include <cmath>

#include "circle_generation.h"
#include "draw_circle.h"
#include "fill_disc.h"

Circle image_circle(double cx, double cy, double R2, double dx, double dy, double rho) {
  const double DX = dx - cx;
  const double DY = dy - cy;
  const double den = DX * DX + DY * DY - rho * rho;
  // The image centre is not the image of the centre: it sits at the factor
  // R2 / den along the same ray, not R2 / |d - c|^2.
  const double l = R2 / den;
  // l is negative when the circle encloses the mirror centre; the radius
  // is its size all the same.
  return {cx + DX * l, cy + DY * l, std::fabs(rho * l)};
}

void invert_circle(CircleGeneration& generation, int slot, double cx, double cy, double R2,
                   double dx, double dy, double rho, Uint32 colour, const WorldFrame& frame) {
  const Circle image = image_circle(cx, cy, R2, dx, dy, rho);
  // Stored as floats; the disc is drawn from the stored floats, not from
  // the doubles. (Rounding is symmetric, so rounding rho * l before or after
  // dropping its sign stores the same radius.)
  const float x = static_cast<float>(image.x);
  const float y = static_cast<float>(image.y);
  const float r = static_cast<float>(image.r);
  set_circle(generation.next, slot, x, y, r);
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r)) return;
  fill_disc(frame_column(frame, x), frame_row(frame, y), frame_radius(frame, r), colour);
}

void invert_circle(double dx, double dy, double rho, double cx, double cy, double R2,
                   Uint32 colour, const WorldFrame& frame) {
  const double DX = dx - cx;
  const double DY = dy - cy;
  const double den = DX * DX + DY * DY - rho * rho;
  const double l = R2 / den;
  const double x = cx + DX * l;
  const double y = cy + DY * l;
  const double r = rho * R2 / std::fabs(den);
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r)) return;
  draw_circle(frame_column(frame, x), frame_row(frame, y), frame_radius(frame, r), colour);
}
