#include "draw_line.h"

#include <algorithm>

// i m and (q + 1) L reach 2^64 for 32-bit ends, so products are 128-bit.
using Wide = unsigned __int128;

namespace {

// The steps k in [0, length] whose coordinate start + sign k lies in [0, size).
struct Run {
  std::int64_t first;
  std::int64_t last;
};

Run on_canvas(std::int64_t start, std::int64_t sign, std::int64_t length, int size) {
  Run run = sign > 0 ? Run{-start, size - 1 - start} : Run{start - (size - 1), start};
  return {std::max<std::int64_t>(run.first, 0), std::min(run.last, length)};
}

// ceil(a / b) for a >= 0, b > 0.
std::int64_t divide_up(Wide a, std::int64_t b) {
  return static_cast<std::int64_t>((a + static_cast<Wide>(b) - 1) / static_cast<Wide>(b));
}

}  // namespace

void draw_line(const Canvas& canvas, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  // 64-bit extents: any pair of 32-bit ends is accepted.
  const std::int64_t dx = static_cast<std::int64_t>(x1) - x0;
  const std::int64_t dy = static_cast<std::int64_t>(y1) - y0;
  const std::int64_t adx = dx < 0 ? -dx : dx;
  const std::int64_t ady = dy < 0 ? -dy : dy;
  // On a diagonal, x leads; either way the minor offset is i.
  const bool x_major = adx >= ady;
  const std::int64_t length = x_major ? adx : ady;  // L
  const std::int64_t minor = x_major ? ady : adx;   // m
  const std::int64_t a0 = x_major ? x0 : y0;
  const std::int64_t b0 = x_major ? y0 : x0;
  const std::int64_t sa = (x_major ? dx : dy) > 0 ? 1 : -1;
  const std::int64_t sb = (x_major ? dy : dx) > 0 ? 1 : -1;
  const int a_size = x_major ? canvas.width : canvas.height;
  const int b_size = x_major ? canvas.height : canvas.width;

  Run steps = on_canvas(a0, sa, length, a_size);
  const Run across = on_canvas(b0, sb, minor, b_size);  // minor offsets q that show
  if (steps.first > steps.last || across.first > across.last) return;
  if (minor > 0) {
    // floor(i m / L) >= q  <=>  i >= ceil(q L / m);  floor(i m / L) <= q  <=>  i < ceil((q + 1) L / m).
    steps.first = std::max(steps.first, divide_up(static_cast<Wide>(across.first) * length, minor));
    steps.last = std::min(steps.last, divide_up(static_cast<Wide>(across.last + 1) * length, minor) - 1);
  }
  if (steps.first > steps.last) return;

  // The error starts at 0, not at half the extent: the minor coordinate
  // changes only once a whole pixel has accumulated, so the line lags
  // toward its start.
  const Wide start = static_cast<Wide>(steps.first) * minor;
  std::int64_t q = length > 0 ? static_cast<std::int64_t>(start / length) : 0;
  std::int64_t err = length > 0 ? static_cast<std::int64_t>(start % length) : 0;
  for (std::int64_t i = steps.first; i <= steps.last; ++i) {
    const std::int64_t a = a0 + sa * i;
    const std::int64_t b = b0 + sb * q;
    if (x_major)
      plot_clipped(canvas, a, b, colour);
    else
      plot_clipped(canvas, b, a, colour);
    err += minor;
    if (err >= length) {
      err -= length;
      ++q;
    }
  }
}
