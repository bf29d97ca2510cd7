#include "draw_circle.h"

#include "pixels.h"
#include "quarter_walk.h"

void draw_circle(int cx_in, int cy_in, int r_in, Uint32 colour) {
  const std::int64_t cx = cx_in;
  const std::int64_t cy = cy_in;
  const std::int64_t r = r_in;
  plot_clipped(cx, cy + r, colour);
  plot_clipped(cx, cy - r, colour);
  quarter_walk(r, [&](std::int64_t dx, std::int64_t dy) {
    plot_clipped(cx + dx, cy + dy, colour);
    plot_clipped(cx + dx, cy - dy, colour);
    plot_clipped(cx - dx, cy + dy, colour);
    plot_clipped(cx - dx, cy - dy, colour);
  });
  plot_clipped(cx + r, cy, colour);
  plot_clipped(cx - r, cy, colour);
}
