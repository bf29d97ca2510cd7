// The rasterisers visit only what the canvas shows; they must draw exactly
// what the plain walks (plain_raster.h) draw over the whole figure, on
// canvases of several sizes, for figures inside, on the edges, far outside,
// and far away with only an arc or a piece of a segment crossing.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include "draw_circle.h"
#include "draw_line.h"
#include "fill_disc.h"
#include "plain_raster.h"
#include "quarter_rows.h"

namespace {

constexpr std::uint32_t paper = 0xA55A5AA5, ink = 0x00FF00FF;
constexpr int padding = 3;  // words after each row, which nothing may write
const int canvas_sizes[][2] = {{1, 1}, {800, 600}, {37, 23}, {3, 300}};

using Draw = void (*)(const Canvas&, int, int, int, int, std::uint32_t);

// Every word of a padded canvas after one drawing.
std::vector<std::uint32_t> drawn(int width, int height, Draw draw, std::int64_t a, std::int64_t b,
                                 std::int64_t c, std::int64_t d) {
  std::vector<std::uint32_t> words(std::size_t(width + padding) * height, paper);
  draw({words.data(), width, height, width + padding}, int(a), int(b), int(c), int(d), ink);
  return words;
}

template <void (*routine)(const Canvas&, int, int, int, std::uint32_t)>
void circle_as_draw(const Canvas& canvas, int cx, int cy, int r, int, std::uint32_t colour) {
  routine(canvas, cx, cy, r, colour);
}

TEST(RasterClippedWalk, CirclesAndDiscsEqualThePlainWalkOnEveryCanvas) {
  const std::int64_t radii[] = {-1000000000, -7, -1, 0, 1, 2, 3, 7, 100, 1000, 1000000};
  const Draw pairs[][2] = {{circle_as_draw<draw_circle>, circle_as_draw<plain_draw_circle>},
                           {circle_as_draw<fill_disc>, circle_as_draw<plain_fill_disc>}};
  for (const auto& [w, h] : canvas_sizes)
    for (const std::int64_t r : radii) {
      const std::int64_t diagonal = r * 7071 / 10000;
      // Centre, corners, just outside, far outside, and the bottom, side and
      // diagonal of the circle crossing the middle of the canvas.
      const std::int64_t centres[][2] = {{w / 2, h / 2}, {0, 0},         {w - 1, h - 1},
                                         {w, h / 2},     {-r - 5, h / 2}, {w / 2, h / 2 - r},
                                         {w / 2 - r, h / 3}, {w / 2 - diagonal, h / 2 - diagonal}};
      for (const auto& [cx, cy] : centres)
        for (const auto& [fast, plain] : pairs)
          ASSERT_EQ(drawn(w, h, fast, cx, cy, r, 0), drawn(w, h, plain, cx, cy, r, 0))
              << (fast == pairs[0][0] ? "draw_circle" : "fill_disc") << " on " << w << " x " << h
              << " at (" << cx << ", " << cy << ") r " << r;
    }
}

// Radii the plain walk cannot go round in a test's time: its rows are taken
// up where the rows say they begin, near the top, the middle and the centre
// row, and must begin and end where the rows say they do.
TEST(RasterClippedWalk, RowsOfHugeRadiiAreWhereThePlainWalkGoes) {
  const std::int64_t radii[] = {2, 3, 1000, 1000000, 1000000000, INT_MAX};
  for (const std::int64_t r : radii)
    for (const std::int64_t from : std::vector<std::int64_t>{r, r * 3 / 4, r * 7071 / 10000, r / 2, 400, 2}) {
      if (from < 1 || from > r) continue;
      const std::int64_t to = from > 600 ? from - 600 : 1;
      std::map<std::int64_t, QuarterRow> rows;  // what the walk did on each row
      const QuarterRow start = quarter_row(r, from);
      rows[from] = {start.first, start.first};
      quarter_walk_from(r, start.first, from, to, [&](std::int64_t dx, std::int64_t dy) {
        auto [row, is_new] = rows.try_emplace(dy, QuarterRow{dx, dx});
        if (!is_new) row->second.last = dx;
      });
      for (std::int64_t dy = from; dy >= to; --dy) {
        ASSERT_EQ(rows[dy].first, quarter_row(r, dy).first) << "r " << r << " row " << dy;
        ASSERT_EQ(rows[dy].last, quarter_row(r, dy).last) << "r " << r << " row " << dy;
      }
    }
}

TEST(RasterClippedWalk, SegmentsEqualThePlainWalkOnEveryCanvas) {
  for (const auto& [w, h] : canvas_sizes) {
    const std::int64_t ends[][2] = {{0, 0},  {w - 1, h - 1}, {w / 2, h / 3}, {-1, h / 2}, {w + 5, -3},
                                    {-700000, h / 2 + 1}, {w / 3, 1000000}, {1300007, -900001}};
    for (const auto& [x0, y0] : ends)
      for (const auto& [x1, y1] : ends)
        ASSERT_EQ(drawn(w, h, draw_line, x0, y0, x1, y1), drawn(w, h, plain_draw_line, x0, y0, x1, y1))
            << w << " x " << h << ": (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
  }
}

// Ends anywhere in the 32-bit range: step i of the plain walk lies
// floor(i m / L) across (as the line tests establish), so every column (or
// row) of the canvas says which step, if any, shows there.
TEST(RasterClippedWalk, SegmentsBetweenFarEndsShowTheStepsThatCrossTheCanvas) {
  const std::int64_t far[][4] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, 7, INT_MIN, 300},
                                 {-5, INT_MIN, 20, INT_MAX},           {INT_MIN, 599, INT_MAX, -1},
                                 {INT_MIN, 1000000000, 1500000000, -1000000000}};
  for (const auto& [w, h] : canvas_sizes)
    for (const auto& [x0, y0, x1, y1] : far) {
      std::vector<std::uint32_t> expected(std::size_t(w + padding) * h, paper);
      const std::int64_t adx = std::abs(x1 - x0), ady = std::abs(y1 - y0);
      const bool x_major = adx >= ady;
      const std::int64_t length = x_major ? adx : ady, minor = x_major ? ady : adx;
      for (std::int64_t a = 0; a < (x_major ? w : h); ++a) {
        const std::int64_t i = (x_major ? (x1 > x0 ? a - x0 : x0 - a) : (y1 > y0 ? a - y0 : y0 - a));
        if (i < 0 || i > length) continue;
        const std::int64_t q = static_cast<std::int64_t>(static_cast<unsigned __int128>(i) * minor / length);
        const std::int64_t b = x_major ? (y1 > y0 ? y0 + q : y0 - q) : (x1 > x0 ? x0 + q : x0 - q);
        if (b >= 0 && b < (x_major ? h : w))
          expected[std::size_t(x_major ? b : a) * (w + padding) + (x_major ? a : b)] = ink;
      }
      ASSERT_EQ(drawn(w, h, draw_line, x0, y0, x1, y1), expected)
          << w << " x " << h << ": (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
    }
}

}  // namespace
