// Circles of radius 10^9 to 10^15 pixels, and beyond 64 bits, crossing an
// 800 x 600 canvas at several angles or missing it, drawn through
// draw_pixel_circle and fill_pixel_disc, against the true circle: its
// equation evaluated exactly in 128-bit integers at every pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "pixel_circle.h"
#include "quarter_rows.h"

namespace {

constexpr int width = 800, height = 600;

struct Case {
  PixelCircle circle;  // integer-valued doubles
  bool disc;
};

// The signed distance, in pixels, of pixel (x, y) from the circle, from
// E = (x - cx)^2 + (y - cy)^2 - r^2 in exact integers (all below 2^127 here).
struct TrueCircle {
  __int128 cx, cy, r;
  __int128 e(int x, int y) const { return (x - cx) * (x - cx) + (y - cy) * (y - cy) - r * r; }
  long double distance(int x, int y) const {
    const long double d = std::sqrt(static_cast<long double>(e(x, y) + r * r));
    return static_cast<long double>(e(x, y)) / (d + static_cast<long double>(r));
  }
};

// Every drawn pixel within a pixel of the circle (outline) or inside it (disc);
// every pixel more than a pixel inside filled (disc); and every column and
// row where the circle crosses between two neighbouring pixels holds a drawn
// pixel (outline), so no part of it vanishes.
void check(const Case& c, const std::vector<std::uint32_t>& pixels, const TrueCircle& t) {
  const auto drawn = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x] != 0; };
  std::vector<bool> column_has(width), row_has(height), column_crossed(width), row_crossed(height);
  int wrong = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (x > 0 && x < width - 2 && (t.e(x, y) < 0) != (t.e(x + 1, y) < 0)) row_crossed[y] = true;
      if (y > 0 && y < height - 2 && (t.e(x, y) < 0) != (t.e(x, y + 1) < 0)) column_crossed[x] = true;
      const bool is_drawn = drawn(x, y);
      if (is_drawn) column_has[x] = row_has[y] = true;
      if (!is_drawn && !c.disc) continue;
      const long double d = t.distance(x, y);
      if (c.disc ? (is_drawn ? d > 1 : d < -1) : std::fabs(d) > 1) {
        if (++wrong <= 3)
          ADD_FAILURE() << (is_drawn ? "drawn" : "left") << " at (" << x << ", " << y << "), " << double(d)
                        << " px from the circle";
      }
    }
  EXPECT_EQ(wrong, 0);
  if (c.disc) return;
  int empty_columns = 0, empty_rows = 0;
  for (int x = 0; x < width; ++x) empty_columns += column_crossed[x] && !column_has[x];
  for (int y = 0; y < height; ++y) empty_rows += row_crossed[y] && !row_has[y];
  EXPECT_EQ(empty_columns, 0) << "columns the circle crosses with nothing drawn";
  EXPECT_EQ(empty_rows, 0) << "rows the circle crosses with nothing drawn";
}

// The table: for each radius, circles whose nearest point to the canvas's
// centre lies `gap` pixels from it (negative: the centre is inside), the
// normal at that point at `angle` degrees; gaps past 500 miss the canvas,
// and the disc of -520 covers it. Angle 270 at gap 520 is a circle wholly
// below the view, whose top once clamped onto row 0.
TEST(RasterHugeCircle, DrawnWithinAPixelOfTheTrueCircleOrNotAtAll) {
  struct Crossing {
    double angle, gap;
  };
  const Crossing crossings[] = {{0, 0},     {37, 180}, {90, -230},  {143, 0},
                                {200, 120}, {270, 520}, {315, -520}, {60, 700}};
  std::vector<Case> cases;
  for (double r = 1e9; r <= 1e15; r *= 10)
    for (const Crossing& k : crossings)
      for (bool disc : {false, true}) {
        const double a = k.angle * std::numbers::pi / 180;
        cases.push_back({{std::round(width / 2.0 - (r + k.gap) * std::cos(a)),
                          std::round(height / 2.0 - (r + k.gap) * std::sin(a)), r},
                         disc});
      }
  // Beyond 64 bits, where the tangent is drawn: a radius of 5 x 2^61 along
  // the normal (3, 4) / 5 or (-4, 3) / 5, the centres on doubles near it.
  const double u = std::ldexp(1.0, 61);
  for (bool disc : {false, true}) {
    cases.push_back({{-3 * u + 1024, -4 * u, 5 * u}, disc});  // 134 px from the centre
    cases.push_back({{4 * u, -3 * u, 5 * u}, disc});          // 140 px
    cases.push_back({{-3 * u - 2048, -4 * u, 5 * u}, disc});  // 1708 px: misses
  }

  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const Canvas canvas{pixels.data(), width, height, width};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.disc ? "disc" : "outline") << " centre (" << c.circle.cx << ", "
                                    << c.circle.cy << ") radius " << c.circle.r);
    std::fill(pixels.begin(), pixels.end(), 0u);
    (c.disc ? fill_pixel_disc : draw_pixel_circle)(canvas, c.circle, 1u);
    check(c, pixels,
          {static_cast<__int128>(c.circle.cx), static_cast<__int128>(c.circle.cy), static_cast<__int128>(c.circle.r)});
  }
}

// Past 2^31 the row ends come from 128-bit roots: each must be where the
// walk's own rule, the smaller |E| of its two steps, turns it down a row.
TEST(RasterHugeCircle, RowEndsFollowTheWalksRuleBeyond32Bits) {
  const auto e = [](__int128 x, __int128 y, __int128 r) { return x * x + y * y - r * r; };
  const auto abs = [](__int128 v) { return v < 0 ? -v : v; };
  const std::int64_t top = std::int64_t{1} << 62;
  for (std::int64_t r : {std::int64_t{1} << 31, std::int64_t{3037000500}, std::int64_t{1000000000007},
                         std::int64_t{999999999999999}, std::int64_t{1} << 53, top - 1, top})
    for (std::int64_t dy : {std::int64_t{1}, std::int64_t{2}, r / 3, r / 2, r - r / 7, r - 1000, r - 1, r}) {
      const std::int64_t end = quarter_row_end(r, dy);
      SCOPED_TRACE(testing::Message() << "r " << r << " row " << dy << " end " << end);
      EXPECT_GE(abs(e(end + 1, dy, r)), abs(e(end, dy - 1, r)));  // steps down at the end
      if (end > 0) {
        EXPECT_LT(abs(e(end, dy, r)), abs(e(end - 1, dy - 1, r)));  // and outward before it
      }
    }
}

}  // namespace
