#include "fill_disc.h"

#include "pixels.h"
#include "quarter_walk.h"

static inline void plot(long x, long y, Uint32 colour) {
  if (in_window(x, y)) put_pixel(static_cast<int>(x), static_cast<int>(y), colour);
}

// Every position of the span cx - dx .. cx + dx on row y that passes the
// window test; the span is cut to the window first, which visits exactly
// those positions without stepping through the ones outside.
static inline void span(long cx, long dx, long y, Uint32 colour) {
  if (y < 0 || y >= window_height) return;
  long left = cx - dx;
  long right = cx + dx;
  if (left < 0) left = 0;
  if (right > window_width - 1) right = window_width - 1;
  for (long x = left; x <= right; ++x) put_pixel(static_cast<int>(x), static_cast<int>(y), colour);
}

void fill_disc(int cx_in, int cy_in, int r_in, Uint32 colour) {
  const long cx = cx_in;
  const long cy = cy_in;
  const long r = r_in;
  plot(cx, cy + r, colour);
  plot(cx, cy - r, colour);
  quarter_walk(r, [&](long dx, long dy) {
    span(cx, dx, cy + dy, colour);
    span(cx, dx, cy - dy, colour);
  });
  plot(cx + r, cy, colour);
  plot(cx - r, cy, colour);
}
