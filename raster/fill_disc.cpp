#include "fill_disc.h"

#include "quarter_rows.h"

// Centre and radius may be anywhere in 64 bits, so every sum of the two is
// taken in 128 bits and cut to the canvas before it becomes a position.
using Wide = __int128;

void fill_disc_wide(const Canvas& canvas, std::int64_t cx, std::int64_t cy, std::int64_t r,
                    std::uint32_t colour) {
  if (r <= 0) return plot_axis_points(canvas, cx, cy, r, colour);
  const Wide top = static_cast<Wide>(cy) - r < 0 ? 0 : static_cast<Wide>(cy) - r;
  const Wide bottom = static_cast<Wide>(cy) + r > canvas.height - 1 ? canvas.height - 1 : static_cast<Wide>(cy) + r;
  for (Wide y = top; y <= bottom; ++y) {
    // Every step on a row spans out to its dx, so the row's span is its
    // last; row 0's reaches the axis points. |y - cy| <= r fits in 64 bits.
    const std::int64_t dy = static_cast<std::int64_t>(y < cy ? cy - y : y - cy);
    const std::int64_t half = dy == 0 ? r : quarter_row_end(r, dy);
    const Wide left = static_cast<Wide>(cx) - half < 0 ? 0 : static_cast<Wide>(cx) - half;
    const Wide right = static_cast<Wide>(cx) + half > canvas.width - 1 ? canvas.width - 1 : static_cast<Wide>(cx) + half;
    for (Wide x = left; x <= right; ++x)
      put_pixel(canvas, static_cast<int>(x), static_cast<int>(y), colour);
  }
}
