#include "draw_circle.h"

#include <algorithm>

#include "quarter_rows.h"

// Columns a .. b of row y, cut to the canvas.
static inline void run(const Canvas& canvas, std::int64_t a, std::int64_t b, std::int64_t y,
                       std::uint32_t colour) {
  a = std::max<std::int64_t>(a, 0);
  b = std::min<std::int64_t>(b, canvas.width - 1);
  for (std::int64_t x = a; x <= b; ++x) put_pixel(canvas, static_cast<int>(x), static_cast<int>(y), colour);
}

void draw_circle(const Canvas& canvas, int cx_in, int cy_in, int r_in, std::uint32_t colour) {
  const std::int64_t cx = cx_in;
  const std::int64_t cy = cy_in;
  const std::int64_t r = r_in;
  if (r <= 0) return plot_axis_points(canvas, cx, cy, r, colour);
  const std::int64_t top = std::max<std::int64_t>(cy - r, 0);
  const std::int64_t bottom = std::min<std::int64_t>(cy + r, canvas.height - 1);
  for (std::int64_t y = top; y <= bottom; ++y) {
    const QuarterRow row = quarter_row(r, y < cy ? cy - y : y - cy);
    run(canvas, cx + row.first, cx + row.last, y, colour);
    run(canvas, cx - row.last, cx - row.first, y, colour);
  }
}
