// Direct pixel access on the window: one multiply-add and one memory access
// each, through the window's canvas (screen_canvas.h).
//
// Rows are addressed by the surface's pitch, so a padded surface is safe.
// Neither routine tests bounds: the rasterisers and the walk plot through
// plot_clipped, and direct callers keep their positions in the window.
// Builds with RASTER_CHECK_BOUNDS abort on any position outside it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "canvas.h"
#include "display.h"
#include "screen_canvas.h"

inline void put_pixel(int x, int y, Uint32 value) { put_pixel(screen_canvas(), x, y, value); }

inline Uint32 get_pixel(int x, int y) { return get_pixel(screen_canvas(), x, y); }

// The window test every rasteriser applies to every position it plots.
inline bool in_window(std::int64_t x, std::int64_t y) {
  return x >= 0 && x < window_width && y >= 0 && y < window_height;
}

// The clipped plot: put_pixel where the position passes the window test,
// nothing elsewhere. Positions are 64-bit so no caller's arithmetic wraps.
inline void plot_clipped(std::int64_t x, std::int64_t y, Uint32 value) {
  if (in_window(x, y)) put_pixel(static_cast<int>(x), static_cast<int>(y), value);
}
