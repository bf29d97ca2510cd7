#include "invert_circle.h"

#include <cmath>

#include "pixel_circle.h"

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

void invert_circle(const Canvas& canvas, double dx, double dy, double rho, double cx, double cy,
                   double R2, std::uint32_t colour, const WorldFrame& frame) {
  const double DX = dx - cx;
  const double DY = dy - cy;
  const double den = DX * DX + DY * DY - rho * rho;
  const double l = R2 / den;
  const double x = cx + DX * l;
  const double y = cy + DY * l;
  const double r = rho * R2 / std::fabs(den);
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r)) return;
  draw_pixel_circle(canvas, frame_circle(frame, x, y, r), colour);
}
