#include "draw_line.h"

#include "pixels.h"

static inline void plot(long x, long y, Uint32 colour) {
  if (in_window(x, y)) put_pixel(static_cast<int>(x), static_cast<int>(y), colour);
}

void draw_line(int x0, int y0, int x1, int y1, Uint32 colour) {
  plot(x0, y0, colour);
  // 64-bit extents and error: any pair of 32-bit ends is accepted.
  const long dx = static_cast<long>(x1) - x0;
  const long dy = static_cast<long>(y1) - y0;
  const long sx = dx > 0 ? 1 : -1;
  const long sy = dy > 0 ? 1 : -1;
  const long adx = dx < 0 ? -dx : dx;
  const long ady = dy < 0 ? -dy : dy;
  long x = x0;
  long y = y0;

  if (dx == 0) {
    for (long i = 0; i < ady; ++i) plot(x, y += sy, colour);
  } else if (dy == 0) {
    for (long i = 0; i < adx; ++i) plot(x += sx, y, colour);
  } else if (adx == ady) {
    for (long i = 0; i < adx; ++i) plot(x += sx, y += sy, colour);
  } else if (adx > ady) {
    // The error starts at 0, not at half the extent: the row changes only
    // once a whole pixel has accumulated, so the line lags toward its start.
    long err = 0;
    for (long i = 0; i < adx; ++i) {
      err += ady;
      x += sx;
      if (err >= adx) {
        err -= adx;
        y += sy;
      }
      plot(x, y, colour);
    }
  } else {
    long err = 0;
    for (long i = 0; i < ady; ++i) {
      err += adx;
      y += sy;
      if (err >= ady) {
        err -= ady;
        x += sx;
      }
      plot(x, y, colour);
    }
  }
}
