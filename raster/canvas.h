// A canvas: plain 32-bit pixel memory of any size, its rows `stride` words
// apart (stride >= width, a padded row is fine). Everything that draws takes
// the canvas it draws on and clips to that canvas's own width and height;
// the window is one canvas among others (screen_canvas, screen_canvas.h).
//
// put_pixel and get_pixel test no bounds: the rasterisers and the walk plot
// through plot_clipped, and direct callers keep their positions on the
// canvas. Builds with RASTER_CHECK_BOUNDS abort on any position outside it.
// Nothing here needs SDL or stdio.
#pragma once

#include <cstddef>
#include <cstdint>

struct Canvas {
  std::uint32_t* pixels;  // pixel (0, 0)
  int width;              // >= 0
  int height;             // >= 0
  int stride;             // words from a pixel to the one below it
};

#ifdef RASTER_CHECK_BOUNDS
// Names the routine, the position and the canvas's size on standard error,
// then aborts.
[[noreturn]] void pixel_out_of_bounds(const char* routine, int x, int y, int width, int height);
#define RASTER_BOUNDS(canvas, routine, x, y)                                                  \
  do {                                                                                        \
    if ((x) < 0 || (x) >= (canvas).width || (y) < 0 || (y) >= (canvas).height)                \
      pixel_out_of_bounds(routine, x, y, (canvas).width, (canvas).height);                    \
  } while (0)
#else
#define RASTER_BOUNDS(canvas, routine, x, y) ((void)0)
#endif

inline std::uint32_t* canvas_pixel(const Canvas& canvas, int x, int y) {
  return canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.stride + x;
}

inline void put_pixel(const Canvas& canvas, int x, int y, std::uint32_t value) {
  RASTER_BOUNDS(canvas, "put_pixel", x, y);
  *canvas_pixel(canvas, x, y) = value;
}

inline std::uint32_t get_pixel(const Canvas& canvas, int x, int y) {
  RASTER_BOUNDS(canvas, "get_pixel", x, y);
  return *canvas_pixel(canvas, x, y);
}

// The test every rasteriser applies to every position it plots. Positions
// are 64-bit so no caller's arithmetic wraps.
inline bool in_canvas(const Canvas& canvas, std::int64_t x, std::int64_t y) {
  return x >= 0 && x < canvas.width && y >= 0 && y < canvas.height;
}

// The clipped plot: put_pixel where the position lies on the canvas,
// nothing elsewhere.
inline void plot_clipped(const Canvas& canvas, std::int64_t x, std::int64_t y, std::uint32_t value) {
  if (in_canvas(canvas, x, y)) put_pixel(canvas, static_cast<int>(x), static_cast<int>(y), value);
}
