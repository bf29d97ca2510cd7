#include "fill_disc.h"

#include <algorithm>

#include "quarter_rows.h"

void fill_disc(const Canvas& canvas, int cx_in, int cy_in, int r_in, std::uint32_t colour) {
  const std::int64_t cx = cx_in;
  const std::int64_t cy = cy_in;
  const std::int64_t r = r_in;
  if (r <= 0) return plot_axis_points(canvas, cx, cy, r, colour);
  const std::int64_t top = std::max<std::int64_t>(cy - r, 0);
  const std::int64_t bottom = std::min<std::int64_t>(cy + r, canvas.height - 1);
  for (std::int64_t y = top; y <= bottom; ++y) {
    // Every step on a row spans out to its dx, so the row's span is its
    // last; row 0's reaches the axis points.
    const std::int64_t dy = y < cy ? cy - y : y - cy;
    const std::int64_t half = dy == 0 ? r : quarter_row_end(r, dy);
    const std::int64_t left = std::max<std::int64_t>(cx - half, 0);
    const std::int64_t right = std::min<std::int64_t>(cx + half, canvas.width - 1);
    for (std::int64_t x = left; x <= right; ++x)
      put_pixel(canvas, static_cast<int>(x), static_cast<int>(y), colour);
  }
}
