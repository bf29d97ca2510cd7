#include "draw_circle.h"

#include "quarter_rows.h"

// Centre and radius may be anywhere in 64 bits, so every sum of the two is
// taken in 128 bits and cut to the canvas before it becomes a position.
using Wide = __int128;

// Columns a .. b of row y, cut to the canvas.
static inline void run(const Canvas& canvas, Wide a, Wide b, int y, std::uint32_t colour) {
  if (a < 0) a = 0;
  if (b > canvas.width - 1) b = canvas.width - 1;
  for (Wide x = a; x <= b; ++x) put_pixel(canvas, static_cast<int>(x), y, colour);
}

void draw_circle_wide(const Canvas& canvas, std::int64_t cx, std::int64_t cy, std::int64_t r,
                      std::uint32_t colour) {
  if (r <= 0) return plot_axis_points(canvas, cx, cy, r, colour);
  const Wide top = static_cast<Wide>(cy) - r < 0 ? 0 : static_cast<Wide>(cy) - r;
  const Wide bottom = static_cast<Wide>(cy) + r > canvas.height - 1 ? canvas.height - 1 : static_cast<Wide>(cy) + r;
  for (Wide y = top; y <= bottom; ++y) {
    // |y - cy| <= r here, so the row fits in 64 bits.
    const QuarterRow row = quarter_row(r, static_cast<std::int64_t>(y < cy ? cy - y : y - cy));
    run(canvas, static_cast<Wide>(cx) + row.first, static_cast<Wide>(cx) + row.last, static_cast<int>(y), colour);
    run(canvas, static_cast<Wide>(cx) - row.last, static_cast<Wide>(cx) - row.first, static_cast<int>(y), colour);
  }
}
