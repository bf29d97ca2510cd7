#include "draw_circle.h"

#include "pixels.h"
#include "quarter_walk.h"

static inline void plot(std::int64_t x, std::int64_t y, Uint32 colour) {
  if (in_window(x, y)) put_pixel(static_cast<int>(x), static_cast<int>(y), colour);
}

void draw_circle(int cx_in, int cy_in, int r_in, Uint32 colour) {
  const std::int64_t cx = cx_in;
  const std::int64_t cy = cy_in;
  const std::int64_t r = r_in;
  plot(cx, cy + r, colour);
  plot(cx, cy - r, colour);
  quarter_walk(r, [&](std::int64_t dx, std::int64_t dy) {
    plot(cx + dx, cy + dy, colour);
    plot(cx + dx, cy - dy, colour);
    plot(cx - dx, cy + dy, colour);
    plot(cx - dx, cy - dy, colour);
  });
  plot(cx + r, cy, colour);
  plot(cx - r, cy, colour);
}
