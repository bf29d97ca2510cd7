#include "pixel_circle.h"

#include <cmath>

#include "draw_circle.h"
#include "fill_disc.h"
#include "quarter_rows.h"

namespace {

using Routine = void (*)(const Canvas&, std::int64_t, std::int64_t, std::int64_t, std::uint32_t);

// Doubles strictly between -2^63 and 2^63 truncate to a 64-bit integer.
constexpr double int64_bound = 9223372036854775808.0;

bool fits_int64(double v) { return v > -int64_bound && v < int64_bound; }

// A value kept as the sum of two doubles, exactly.
struct Pair {
  double hi;
  double lo;
};

// a + b exactly (Knuth's two-sum).
Pair two_sum(double a, double b) {
  const double s = a + b;
  const double b_part = s - a;
  return {s, (a - (s - b_part)) + (b - b_part)};
}

// a * b exactly: fma rounds once, so what it leaves of a * b - p is exact.
Pair two_product(double a, double b) {
  const double p = a * b;
  return {p, std::fma(a, b, -p)};
}

// |P - c| - r for P the canvas's centre, and the unit normal from c toward P.
struct Nearest {
  double gap;
  double nx;
  double ny;
};

Nearest nearest_point(const Canvas& canvas, const PixelCircle& c) {
  // Scaled by a power of two so that the squares stay finite; that changes
  // no digit, and the canvas's centre keeps every one of its own.
  int e = 0;
  std::frexp(std::fmax(std::fmax(std::fabs(c.cx), std::fabs(c.cy)), c.r), &e);
  const int shift = e > 60 ? e - 60 : 0;
  const Pair vx = two_sum(std::ldexp(canvas.width / 2.0, -shift), -std::ldexp(c.cx, -shift));
  const Pair vy = two_sum(std::ldexp(canvas.height / 2.0, -shift), -std::ldexp(c.cy, -shift));
  const double r = std::ldexp(c.r, -shift);
  // |P - c|^2 - r^2. Where the circle passes near P its two large terms
  // agree within a factor of 2, so their difference is exact (Sterbenz);
  // everything else is 2^-50 of them or less and summed in doubles.
  const Pair xx = two_product(vx.hi, vx.hi), yy = two_product(vy.hi, vy.hi), rr = two_product(r, r);
  const Pair squares = two_sum(xx.hi, yy.hi);
  const double rest = squares.lo + xx.lo + yy.lo - rr.lo + 2 * (vx.hi * vx.lo + vy.hi * vy.lo);
  const double f = (squares.hi - rr.hi) + rest;
  const double d = std::sqrt(squares.hi);
  if (d == 0) return {-c.r, 0, 1};  // centred on the canvas: any normal will do
  return {std::ldexp(f / (d + r), shift), vx.hi / d, vy.hi / d};
}

// The circle beyond 64 bits, through the 64-bit circle of radius about
// 2^61 that shares its tangent at the point nearest the canvas's centre.
void draw_as_tangent(const Canvas& canvas, const PixelCircle& c, Routine routine, bool disc,
                     std::uint32_t colour) {
  const Nearest near = nearest_point(canvas, c);
  const double reach = 0.5 * std::hypot(canvas.width, canvas.height) + 2;
  if (!(near.gap <= reach) || (!disc && near.gap < -reach)) return;
  const double gap = near.gap < -reach ? -reach : near.gap;  // a disc over the whole canvas
  // The nearest point Q, and a centre C = floor(Q) - V with V about 2^61 n.
  const double qx = canvas.width / 2.0 - gap * near.nx, qy = canvas.height / 2.0 - gap * near.ny;
  const double fx = std::floor(qx), fy = std::floor(qy);
  const std::int64_t vx = static_cast<std::int64_t>(std::ldexp(near.nx, 61));
  const std::int64_t vy = static_cast<std::int64_t>(std::ldexp(near.ny, 61));
  // The radius |C - Q| = |V + (Q - floor(Q))|, rounded: |V| is s plus a
  // fraction found from the remainder, and the offset adds its part along n.
  const WideSquare vv = static_cast<WideSquare>(static_cast<__int128>(vx) * vx) +
                        static_cast<WideSquare>(static_cast<__int128>(vy) * vy);
  const std::uint64_t s = floor_sqrt_wide(vv);
  const double fraction = static_cast<double>(vv - static_cast<WideSquare>(s) * s) / (2.0 * static_cast<double>(s));
  const double extra = fraction + near.nx * (qx - fx) + near.ny * (qy - fy);
  const std::int64_t radius = static_cast<std::int64_t>(s) + static_cast<std::int64_t>(std::floor(extra + 0.5));
  routine(canvas, static_cast<std::int64_t>(fx) - vx, static_cast<std::int64_t>(fy) - vy, radius, colour);
}

void draw(const Canvas& canvas, const PixelCircle& c, Routine routine, bool disc, std::uint32_t colour) {
  if (!std::isfinite(c.cx) || !std::isfinite(c.cy) || !std::isfinite(c.r)) return;
  if (fits_int64(c.cx) && fits_int64(c.cy) && fits_int64(c.r))
    // Truncated toward zero, as frame_column truncates: the same integers.
    return routine(canvas, static_cast<std::int64_t>(c.cx), static_cast<std::int64_t>(c.cy),
                   static_cast<std::int64_t>(c.r), colour);
  if (c.r > 0) draw_as_tangent(canvas, c, routine, disc, colour);
}

}  // namespace

void draw_pixel_circle(const Canvas& canvas, const PixelCircle& circle, std::uint32_t colour) {
  draw(canvas, circle, draw_circle_wide, false, colour);
}

void fill_pixel_disc(const Canvas& canvas, const PixelCircle& circle, std::uint32_t colour) {
  draw(canvas, circle, fill_disc_wide, true, colour);
}
