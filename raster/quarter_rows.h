// The quarter walk (quarter_walk.h) row by row, without walking it.
//
// At (dx, dy) the walk steps outward when |E(dx + 1, dy)| < |E(dx, dy - 1)|,
// E(a, b) = a^2 + b^2 - r^2. The first of the two exceeds the second by
// 2 (dx + dy) > 0, so that holds exactly when their sum is negative:
//   dx^2 + (dx + 1)^2 < 2 r^2 - dy^2 - (dy - 1)^2 = T(dy),
// a test on dx that T alone fixes, and T grows as dy falls. So on row dy
// (1 <= dy <= r) the walk leaves at the smallest dx >= 0 that fails it,
// quarter_row_end(r, dy), and it entered at the row above's end (at 0 on
// row r). The step to row 0 is its last: row 0 holds its end of row 1 and
// the axis point r. Any row of a radius up to 2^31 - 1 is found in a few
// operations, so a rasteriser visits only the rows it can show. Radii below
// 2^31 take 64-bit arithmetic; any larger 64-bit radius takes 128-bit, with
// the same row ends.
#pragma once

#include <cmath>
#include <cstdint>

#include "canvas.h"

// floor(sqrt(n)) for every 64-bit n: the double root is within one or two
// of it, then corrected in integers.
inline std::uint64_t floor_sqrt(std::uint64_t n) {
  constexpr std::uint64_t largest_root = 0xFFFFFFFFu;  // floor(sqrt(2^64 - 1))
  std::uint64_t s = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(n)));
  if (s > largest_root) s = largest_root;
  while (s * s > n) --s;
  while (s < largest_root && (s + 1) * (s + 1) <= n) ++s;
  return s;
}

using WideSquare = unsigned __int128;

// floor(sqrt(n)) for every 128-bit n: the double root is within 2^-52 of
// it, one Newton step brings it within one, then corrected in integers.
inline std::uint64_t floor_sqrt_wide(WideSquare n) {
  if (n <= UINT64_MAX) return floor_sqrt(static_cast<std::uint64_t>(n));
  constexpr WideSquare largest_root = UINT64_MAX;  // floor(sqrt(2^128 - 1))
  WideSquare s = static_cast<WideSquare>(std::sqrt(static_cast<double>(n)));
  if (s > largest_root) s = largest_root;
  s = (s + n / s) / 2;  // s >= 2^32 here
  if (s > largest_root) s = largest_root;
  while (s * s > n) --s;
  while (s < largest_root && (s + 1) * (s + 1) <= n) ++s;
  return static_cast<std::uint64_t>(s);
}

// The last dx of row dy of the walk of radius r, 1 <= dy <= r: the smallest
// d >= 0 with 2 d^2 + 2 d + 1 >= T(dy), that is (2 d + 1)^2 >= 2 T - 1.
// Below 2^31, 2 r^2 < 2^63 and 2 T - 1 < 4 r^2 < 2^64; for any larger
// 64-bit r, 2 r^2 < 2^127 and 2 T - 1 < 2^128 in 128 bits. Nothing overflows.
inline std::int64_t quarter_row_end(std::int64_t r, std::int64_t dy) {
  if (r < (std::int64_t{1} << 31)) {
    const std::int64_t t = 2 * r * r - dy * dy - (dy - 1) * (dy - 1);
    if (t <= 1) return 0;
    const std::uint64_t n = 2 * static_cast<std::uint64_t>(t) - 1;
    const std::uint64_t root_up = floor_sqrt(n - 1) + 1;  // ceil(sqrt(n)), n >= 1
    return static_cast<std::int64_t>(root_up / 2);  // the smallest d with 2 d + 1 >= root_up
  }
  using Wide = __int128;
  const Wide t = 2 * static_cast<Wide>(r) * r - static_cast<Wide>(dy) * dy -
                 static_cast<Wide>(dy - 1) * (dy - 1);
  if (t <= 1) return 0;
  const WideSquare n = 2 * static_cast<WideSquare>(t) - 1;
  const WideSquare root_up = static_cast<WideSquare>(floor_sqrt_wide(n - 1)) + 1;
  return static_cast<std::int64_t>(root_up / 2);
}

// Where row dy of the quarter walk of radius r >= 1 begins and ends, axis
// points included, for 0 <= dy <= r.
struct QuarterRow {
  std::int64_t first;
  std::int64_t last;
};

inline QuarterRow quarter_row(std::int64_t r, std::int64_t dy) {
  return {dy == r ? 0 : quarter_row_end(r, dy + 1), dy == 0 ? r : quarter_row_end(r, dy)};
}

// A radius of 0 or less: the walk takes no step, and both rasterisers plot
// the four axis points alone. Sums in 128 bits, so no 64-bit centre and
// radius wrap onto the canvas.
inline void plot_axis_points(const Canvas& canvas, std::int64_t cx, std::int64_t cy, std::int64_t r,
                             std::uint32_t colour) {
  const auto plot = [&](__int128 x, __int128 y) {
    if (x >= 0 && x < canvas.width && y >= 0 && y < canvas.height)
      put_pixel(canvas, static_cast<int>(x), static_cast<int>(y), colour);
  };
  plot(cx, static_cast<__int128>(cy) + r);
  plot(cx, static_cast<__int128>(cy) - r);
  plot(static_cast<__int128>(cx) + r, cy);
  plot(static_cast<__int128>(cx) - r, cy);
}
