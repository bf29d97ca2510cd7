#include "fill_disc.h"

#include "pixels.h"
#include "quarter_walk.h"

// Every position of the span cx - dx .. cx + dx on row y that passes the
// window test; the span is cut to the window first, which visits exactly
// those positions without stepping through the ones outside.
static inline void span(std::int64_t cx, std::int64_t dx, std::int64_t y, Uint32 colour) {
  if (y < 0 || y >= window_height) return;
  std::int64_t left = cx - dx;
  std::int64_t right = cx + dx;
  if (left < 0) left = 0;
  if (right > window_width - 1) right = window_width - 1;
  for (std::int64_t x = left; x <= right; ++x) put_pixel(static_cast<int>(x), static_cast<int>(y), colour);
}

void fill_disc(int cx_in, int cy_in, int r_in, Uint32 colour) {
  const std::int64_t cx = cx_in;
  const std::int64_t cy = cy_in;
  const std::int64_t r = r_in;
  plot_clipped(cx, cy + r, colour);
  plot_clipped(cx, cy - r, colour);
  quarter_walk(r, [&](std::int64_t dx, std::int64_t dy) {
    span(cx, dx, cy + dy, colour);
    span(cx, dx, cy - dy, colour);
  });
  plot_clipped(cx + r, cy, colour);
  plot_clipped(cx - r, cy, colour);
}
