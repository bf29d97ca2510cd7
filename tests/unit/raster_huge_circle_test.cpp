// Circles of radius 10^9 to 10^15 pixels, and past 2^63, crossing an
// 800 x 600 canvas at several angles, missing it or covering it, drawn by
// draw_pixel_circle and fill_pixel_disc, against the true circle: its
// equation evaluated exactly in 128-bit integers at every pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "pixel_circle.h"
#include "quarter_rows.h"

namespace {

constexpr int width = 800, height = 600;
using Wide = __int128;

// Each drawn pixel within a pixel of the circle (outline) or not outside it
// by more (disc), each pixel more than a pixel inside filled (disc), and a
// drawn pixel in every column and row where the circle passes between two
// neighbouring pixels (outline): nothing vanishes.
void check(const std::vector<std::uint32_t>& pixels, const PixelCircle& c, bool disc) {
  const Wide cx = static_cast<Wide>(c.cx), cy = static_cast<Wide>(c.cy), r = static_cast<Wide>(c.r);
  const auto e = [&](Wide x, Wide y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) - r * r; };
  std::vector<int> column_need(width), row_need(height);  // +1 crossed, -1 drawn
  int wrong = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (x > 0 && x < width - 2 && (e(x, y) < 0) != (e(x + 1, y) < 0) && row_need[y] == 0) row_need[y] = 1;
      if (y > 0 && y < height - 2 && (e(x, y) < 0) != (e(x, y + 1) < 0) && column_need[x] == 0) column_need[x] = 1;
      const bool drawn = pixels[static_cast<std::size_t>(y) * width + x] != 0;
      if (drawn) column_need[x] = row_need[y] = -1;
      if (!drawn && !disc) continue;
      const long double d = static_cast<long double>(e(x, y)) /
                            (std::sqrt(static_cast<long double>(e(x, y) + r * r)) + static_cast<long double>(r));
      if ((disc ? (drawn ? d > 1 : d < -1) : std::fabs(d) > 1) && ++wrong <= 3)
        ADD_FAILURE() << (drawn ? "drawn" : "left") << " at (" << x << ", " << y << "), " << double(d) << " px off";
    }
  EXPECT_EQ(wrong, 0);
  if (disc) return;
  EXPECT_EQ(std::count(column_need.begin(), column_need.end(), 1), 0) << "crossed columns left empty";
  EXPECT_EQ(std::count(row_need.begin(), row_need.end(), 1), 0) << "crossed rows left empty";
}

// For each radius, the circle's point nearest the canvas's centre lies
// `gap` pixels from it (negative: inside), its normal at `angle` degrees;
// past 500 the outline misses the canvas and the disc misses or covers it.
// Angle 270 at 520: wholly below the view, whose top once clamped onto row 0.
TEST(RasterHugeCircle, DrawnWithinAPixelOfTheTrueCircleOrNotAtAll) {
  const double crossings[][2] = {{0, 0},     {37, 180},  {90, -230},  {143, 0},
                                 {200, 120}, {270, 520}, {315, -520}, {60, 700}};
  std::vector<PixelCircle> circles;
  for (double r = 1e9; r <= 1e15; r *= 10)
    for (const auto& [angle, gap] : crossings) {
      const double a = angle * std::numbers::pi / 180;
      circles.push_back({std::round(width / 2.0 - (r + gap) * std::cos(a)),
                         std::round(height / 2.0 - (r + gap) * std::sin(a)), r});
    }
  // Past 2^63, drawn as the tangent: radius 5 x 2^61 along the normals
  // (3, 4) / 5 and (-4, 3) / 5, the centres on doubles near them.
  const double u = std::ldexp(1.0, 61);
  circles.push_back({-3 * u + 1024, -4 * u, 5 * u});  // 134 px from the canvas's centre
  circles.push_back({4 * u, -3 * u, 5 * u});          // 140 px
  circles.push_back({-3 * u - 2048, -4 * u, 5 * u});  // 1708 px: misses
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const Canvas canvas{pixels.data(), width, height, width};
  for (const PixelCircle& c : circles)
    for (bool disc : {false, true}) {
      SCOPED_TRACE(testing::Message() << (disc ? "disc" : "outline") << " (" << c.cx << ", " << c.cy << ") r " << c.r);
      std::fill(pixels.begin(), pixels.end(), 0u);
      (disc ? fill_pixel_disc : draw_pixel_circle)(canvas, c, 1u);
      check(pixels, c, disc);
    }
}

// Past 2^31 the row ends come from 128-bit roots: each must be where the
// walk's own rule, the smaller |E| of its two steps, turns it down a row.
TEST(RasterHugeCircle, RowEndsFollowTheWalksRuleBeyond32Bits) {
  const auto e = [](Wide x, Wide y, Wide r) { const Wide v = x * x + y * y - r * r; return v < 0 ? -v : v; };
  const std::int64_t top = std::int64_t{1} << 62;
  for (std::int64_t r : {std::int64_t{1} << 31, std::int64_t{3037000500}, std::int64_t{1000000000007},
                         std::int64_t{999999999999999}, std::int64_t{1} << 53, top - 1, top})
    for (std::int64_t dy : {std::int64_t{1}, std::int64_t{2}, r / 3, r / 2, r - r / 7, r - 1000, r - 1, r}) {
      const std::int64_t end = quarter_row_end(r, dy);
      SCOPED_TRACE(testing::Message() << "r " << r << " row " << dy << " end " << end);
      EXPECT_GE(e(end + 1, dy, r), e(end, dy - 1, r));  // down at the end
      if (end > 0) {
        EXPECT_LT(e(end, dy, r), e(end - 1, dy - 1, r));  // outward before it
      }
    }
}

}  // namespace
