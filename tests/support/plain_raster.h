// The rasterisers as first written: every step of the whole figure walked,
// each position clipped on its own, at a cost that grows with the figure.
// The clipped rasterisers must draw what these draw, pixel for pixel.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "quarter_walk.h"

inline void plain_draw_line(const Canvas& canvas, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  plot_clipped(canvas, x0, y0, colour);
  const std::int64_t dx = static_cast<std::int64_t>(x1) - x0, dy = static_cast<std::int64_t>(y1) - y0;
  const std::int64_t sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool x_major = adx >= ady;
  const std::int64_t major = x_major ? adx : ady, minor = x_major ? ady : adx;
  std::int64_t x = x0, y = y0, err = 0;  // the error starts at 0
  for (std::int64_t i = 0; i < major; ++i) {
    err += minor;
    const bool across = err >= major;
    if (across) err -= major;
    x += x_major || across ? sx : 0;
    y += !x_major || across ? sy : 0;
    plot_clipped(canvas, x, y, colour);
  }
}

inline void plain_draw_circle(const Canvas& canvas, int cx_in, int cy_in, int r_in, std::uint32_t colour) {
  const std::int64_t cx = cx_in, cy = cy_in, r = r_in;
  plot_clipped(canvas, cx, cy + r, colour);
  plot_clipped(canvas, cx, cy - r, colour);
  quarter_walk(r, [&](std::int64_t dx, std::int64_t dy) {
    plot_clipped(canvas, cx + dx, cy + dy, colour);
    plot_clipped(canvas, cx + dx, cy - dy, colour);
    plot_clipped(canvas, cx - dx, cy + dy, colour);
    plot_clipped(canvas, cx - dx, cy - dy, colour);
  });
  plot_clipped(canvas, cx + r, cy, colour);
  plot_clipped(canvas, cx - r, cy, colour);
}

inline void plain_fill_disc(const Canvas& canvas, int cx_in, int cy_in, int r_in, std::uint32_t colour) {
  const std::int64_t cx = cx_in, cy = cy_in, r = r_in;
  // The span cut to the canvas first, as fill_disc always did.
  const auto span = [&](std::int64_t dx, std::int64_t y) {
    if (y < 0 || y >= canvas.height) return;
    for (std::int64_t x = cx - dx < 0 ? 0 : cx - dx; x <= cx + dx && x < canvas.width; ++x)
      plot_clipped(canvas, x, y, colour);
  };
  plot_clipped(canvas, cx, cy + r, colour);
  plot_clipped(canvas, cx, cy - r, colour);
  quarter_walk(r, [&](std::int64_t dx, std::int64_t dy) {
    span(dx, cy + dy);
    span(dx, cy - dy);
  });
  plot_clipped(canvas, cx + r, cy, colour);
  plot_clipped(canvas, cx - r, cy, colour);
}
