// Coaxal circles: foot point, radical axis segment, limiting points (none
// for circles that meet), Apollonius circles.
#include <cmath>
#include <cstdlib>

#include "canvas_test.h"
#include "coaxal_circles.h"
#include "invert_point.h"
#include "screen_inversion.h"

namespace {
constexpr WorldFrame coaxal_frame{25, 400, 300, YAxis::up};
constexpr CircleEquation first{-3, 0, 0};    // radius 3 about (-3, 0)
constexpr CircleEquation second{7, 0, 24};   // radius 5 about (7, 0)
}  // namespace

using InversionCoaxal = CanvasTest;

TEST_F(InversionCoaxal, ListedPencilGivesFootPointAndLimitingPoints) {
  const Point foot = foot_point(first, second);
  EXPECT_DOUBLE_EQ(foot.x, 1.2);
  EXPECT_EQ(foot.y, 0);
  const LimitingPoints points = limiting_points(first, second);
  ASSERT_TRUE(points.exist);
  EXPECT_NEAR(points.L1.x, 4.1393876913, 1e-10);
  EXPECT_NEAR(points.L2.x, -1.7393876913, 1e-10);
  EXPECT_EQ(points.L1.y, 0);
  EXPECT_EQ(points.L2.y, 0);
  EXPECT_NEAR((points.L1.x - 1.2) * (points.L1.x - 1.2), 8.64, 1e-12);  // t^2 = P
  // On screen at (503, 300) and (356, 300).
  EXPECT_EQ(frame_column(coaxal_frame, points.L1.x), 503);
  EXPECT_EQ(frame_column(coaxal_frame, points.L2.x), 356);
  EXPECT_EQ(count_pixels(colour_white), 800 * 600) << "the geometry draws nothing";
}

TEST_F(InversionCoaxal, LimitingPointsAreInverseInBothCircles) {
  // General branch: radius 1 about (0, 1) and radius 2 about (4, 4).
  const CircleEquation a{0, 1, 0}, b{4, 4, 28};
  const Point foot = foot_point(a, b);
  EXPECT_NEAR(2 * 4 * foot.x + 2 * 3 * foot.y, 28, 1e-12);  // on the radical axis
  EXPECT_NEAR(3 * (foot.x - 0) - 4 * (foot.y - 1), 0, 1e-12);  // on the line of centres
  const LimitingPoints p = limiting_points(a, b);
  ASSERT_TRUE(p.exist);
  const Point in_a = invert_point(p.L1.x, p.L1.y, 0, 1, 1);
  const Point in_b = invert_point(p.L1.x, p.L1.y, 4, 4, 4);
  EXPECT_NEAR(in_a.x, p.L2.x, 1e-12);
  EXPECT_NEAR(in_a.y, p.L2.y, 1e-12);
  EXPECT_NEAR(in_b.x, p.L2.x, 1e-12);
  EXPECT_NEAR(in_b.y, p.L2.y, 1e-12);
  // L1 lies toward the second centre, L2 toward the first.
  EXPECT_LT(std::hypot(p.L1.x - 4, p.L1.y - 4), std::hypot(p.L2.x - 4, p.L2.y - 4));
}

TEST_F(InversionCoaxal, RadicalAxisFillsColumn430) {
  radical_axis(first, second, coaxal_frame, colour_green);
  EXPECT_EQ(count_pixels(colour_green), 600);
  for (const auto& [x, y] : changed_pixels(colour_white)) EXPECT_EQ(x, 430) << y;
}

TEST_F(InversionCoaxal, EqualCentreHeightsAloneTakeTheVerticalBranch) {
  // At scale 10 the vertical segment (36 units) spans rows 120..480; the
  // general one (six centre distances, 60 units) overruns the window.
  constexpr WorldFrame tall{10, 400, 300, YAxis::up};
  radical_axis(first, second, tall, colour_green);
  EXPECT_EQ(count_pixels(colour_green), 361);
  EXPECT_EQ(get_pixel(412, 120), colour_green);
  EXPECT_EQ(get_pixel(412, 480), colour_green);
  EXPECT_EQ(get_pixel(412, 119), colour_white);

  // The same circles with the same x values, the second raised by 1e-9.
  const CircleEquation raised{7, 1e-9, 24};
  const auto general = drawn_alone([&] { radical_axis(first, raised, tall, colour_green); });
  // Its ends lie at x = 1.2 +- 3e-9: columns 412 and 411.
  EXPECT_EQ(general.size(), 600u);
  for (const auto& [x, y] : general) EXPECT_TRUE(x == 411 || x == 412) << x << "," << y;
}

TEST_F(InversionCoaxal, ConcentricCirclesHaveNoAxis) {
  radical_axis({1, 1, 1}, {1, 1, -2}, coaxal_frame, colour_green);
  EXPECT_TRUE(changed_pixels(colour_white).empty());
}

TEST(InversionApollonius, ListedRatios) {
  const Point A{0, 0}, B{1, 0};
  const Circle half = apollonius_circle(A, B, 0.5);
  EXPECT_NEAR(half.x, -1.0 / 3, 1e-15);
  EXPECT_NEAR(half.y, 0, 1e-15);
  EXPECT_NEAR(half.r, 2.0 / 3, 1e-15);
  const Circle two = apollonius_circle(A, B, 2);
  EXPECT_NEAR(two.x, 4.0 / 3, 1e-15);
  EXPECT_NEAR(two.r, 2.0 / 3, 1e-15);
  const Circle small = apollonius_circle(A, B, 0.08);
  EXPECT_NEAR(small.x, -0.0064412, 1e-7);
  EXPECT_NEAR(small.r, 0.0805153, 1e-7);
}

TEST(InversionApollonius, EveryPointKeepsTheRatio) {
  const Point A{4.13, -1}, B{-1.7, 2.5};
  for (const double lambda : {0.15, 0.55, 0.95, 1.3, 7.0}) {
    const Circle c = apollonius_circle(A, B, lambda);
    for (int i = 0; i < 8; ++i) {
      const double px = c.x + c.r * std::cos(i * 0.785);
      const double py = c.y + c.r * std::sin(i * 0.785);
      EXPECT_NEAR(std::hypot(px - A.x, py - A.y), lambda * std::hypot(px - B.x, py - B.y), 1e-9)
          << lambda << " " << i;
    }
  }
}

TEST(InversionCoaxalValues, CirclesThatMeetHaveNoLimitingPoints) {
  const CircleEquation cutting{1, 0, -8};   // radius 3 about (1, 0): cuts the first
  const CircleEquation touching{3, 0, 0};   // radius 3 about (3, 0): touches it at 0
  const CircleEquation same_centre{-3, 0, 5};
  for (const CircleEquation& other : {cutting, touching, same_centre})
    EXPECT_FALSE(limiting_points(first, other).exist) << other.a << " " << other.c;
}
