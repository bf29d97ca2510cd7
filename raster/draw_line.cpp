#include "draw_line.h"

#include "pixels.h"

void draw_line(int x0, int y0, int x1, int y1, Uint32 colour) {
  plot_clipped(x0, y0, colour);
  // 64-bit extents and error: any pair of 32-bit ends is accepted.
  const std::int64_t dx = static_cast<std::int64_t>(x1) - x0;
  const std::int64_t dy = static_cast<std::int64_t>(y1) - y0;
  const std::int64_t sx = dx > 0 ? 1 : -1;
  const std::int64_t sy = dy > 0 ? 1 : -1;
  const std::int64_t adx = dx < 0 ? -dx : dx;
  const std::int64_t ady = dy < 0 ? -dy : dy;
  std::int64_t x = x0;
  std::int64_t y = y0;

  if (dx == 0) {
    for (std::int64_t i = 0; i < ady; ++i) plot_clipped(x, y += sy, colour);
  } else if (dy == 0) {
    for (std::int64_t i = 0; i < adx; ++i) plot_clipped(x += sx, y, colour);
  } else if (adx == ady) {
    for (std::int64_t i = 0; i < adx; ++i) plot_clipped(x += sx, y += sy, colour);
  } else if (adx > ady) {
    // The error starts at 0, not at half the extent: the row changes only
    // once a whole pixel has accumulated, so the line lags toward its start.
    std::int64_t err = 0;
    for (std::int64_t i = 0; i < adx; ++i) {
      err += ady;
      x += sx;
      if (err >= adx) {
        err -= adx;
        y += sy;
      }
      plot_clipped(x, y, colour);
    }
  } else {
    std::int64_t err = 0;
    for (std::int64_t i = 0; i < ady; ++i) {
      err += adx;
      y += sy;
      if (err >= ady) {
        err -= ady;
        x += sx;
      }
      plot_clipped(x, y, colour);
    }
  }
}
