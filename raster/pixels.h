// Direct pixel access: one multiply-add and one memory access each.
//
// Rows are addressed by the surface's pitch, so a padded surface is safe;
// for the 800 x 600 x 32 window pitch is 4 * w and the word index is
// x + y * w. Neither routine tests bounds: the rasterisers and the walk plot
// through plot_clipped, and direct callers keep their positions in the window.
// Builds with RASTER_CHECK_BOUNDS abort on any position outside the surface.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display.h"

#ifdef RASTER_CHECK_BOUNDS
[[noreturn]] void pixel_out_of_bounds(const char* routine, int x, int y);
#define RASTER_BOUNDS(routine, x, y)                                        \
  do {                                                                      \
    if ((x) < 0 || (x) >= screen->w || (y) < 0 || (y) >= screen->h)        \
      pixel_out_of_bounds(routine, x, y);                                   \
  } while (0)
#else
#define RASTER_BOUNDS(routine, x, y) ((void)0)
#endif

inline Uint32* pixel_address(int x, int y) {
  return reinterpret_cast<Uint32*>(static_cast<Uint8*>(screen->pixels) +
                                   static_cast<std::ptrdiff_t>(y) * screen->pitch) + x;
}

inline void put_pixel(int x, int y, Uint32 value) {
  RASTER_BOUNDS("put_pixel", x, y);
  *pixel_address(x, y) = value;
}

inline Uint32 get_pixel(int x, int y) {
  RASTER_BOUNDS("get_pixel", x, y);
  return *pixel_address(x, y);
}

// The window test every rasteriser applies to every position it plots.
inline bool in_window(std::int64_t x, std::int64_t y) {
  return x >= 0 && x < window_width && y >= 0 && y < window_height;
}

// The clipped plot: put_pixel where the position passes the window test,
// nothing elsewhere. Positions are 64-bit so no caller's arithmetic wraps.
inline void plot_clipped(std::int64_t x, std::int64_t y, Uint32 value) {
  if (in_window(x, y)) put_pixel(static_cast<int>(x), static_cast<int>(y), value);
}
