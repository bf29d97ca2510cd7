// World frames: truncation toward zero, the y direction, and the clamp that
// keeps every conversion defined.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "world_frame.h"

namespace {
constexpr WorldFrame soddy_frame{200, 400, 300, YAxis::up};
constexpr WorldFrame packing_frame{230, 380, 150, YAxis::down};
constexpr WorldFrame two_circle_frame{200, 400, 200, YAxis::up};
}  // namespace

TEST(InversionFrame, TruncatesTowardZeroNotDown) {
  // 400 - 2.0035 * 200 is about -0.7: column 0, where flooring would give -1.
  EXPECT_EQ(frame_column(soddy_frame, -2.0035), 0);
  EXPECT_EQ(frame_column(soddy_frame, -2.0075), -1);  // -1.5 -> -1
  EXPECT_EQ(frame_radius(soddy_frame, 0.004), 0);     // 0.8 pixels
  EXPECT_EQ(frame_radius(soddy_frame, 0.00999), 1);   // 1.998 pixels
  EXPECT_EQ(truncate_toward_zero(-0.7), 0);
  EXPECT_EQ(truncate_toward_zero(0.999), 0);
  EXPECT_EQ(truncate_toward_zero(-2.5), -2);
  EXPECT_EQ(truncate_toward_zero(2.5), 2);
}

TEST(InversionFrame, ProgramFramesPlaceKnownPoints) {
  EXPECT_EQ(frame_column(soddy_frame, 0), 400);
  EXPECT_EQ(frame_row(soddy_frame, 0), 300);
  EXPECT_EQ(frame_row(soddy_frame, 1), 100);
  // y down: a larger y lies lower on the screen.
  EXPECT_EQ(frame_column(packing_frame, 0), 380);
  EXPECT_EQ(frame_row(packing_frame, 1), 380);
  EXPECT_EQ(frame_row(packing_frame, -0.5), 35);
  EXPECT_EQ(frame_row(two_circle_frame, 1), 0);
  EXPECT_EQ(frame_row(two_circle_frame, -2), 600);
  // The four base circles of the packing land on their listed pixels.
  const float x[] = {0.0f, -1.4f, 1.71f, 0.0f};
  const float y[] = {0.1f, 0.0f, -0.198f, 2.5f};
  const float r[] = {0.405f, 1.0f, 1.33f, 1.865f};
  const int expected[4][3] = {{380, 173, 93}, {58, 150, 230}, {773, 104, 305}, {380, 725, 428}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(frame_column(packing_frame, x[k]), expected[k][0]) << k;
    EXPECT_EQ(frame_row(packing_frame, y[k]), expected[k][1]) << k;
    EXPECT_EQ(frame_radius(packing_frame, r[k]), expected[k][2]) << k;
  }
}

TEST(InversionFrame, ConversionsAreIndependent) {
  // Centre and radius are truncated separately, not as centre +- radius.
  const double x = 0.0049;  // 400.98
  EXPECT_EQ(frame_column(soddy_frame, x), 400);
  EXPECT_EQ(frame_radius(soddy_frame, 0.0049), 0);
  EXPECT_EQ(frame_column(soddy_frame, x + 0.0049), 401);
}

TEST(InversionFrame, OutOfRangeAndNaNAreClampedNotUndefined) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(truncate_toward_zero(1e300), INT_MAX);
  EXPECT_EQ(truncate_toward_zero(-1e300), INT_MIN);
  EXPECT_EQ(truncate_toward_zero(inf), INT_MAX);
  EXPECT_EQ(truncate_toward_zero(-inf), INT_MIN);
  EXPECT_EQ(truncate_toward_zero(nan), INT_MIN);
  EXPECT_EQ(truncate_toward_zero(2147483647.0), INT_MAX);
  EXPECT_EQ(truncate_toward_zero(2147483646.9), 2147483646);
  EXPECT_EQ(truncate_toward_zero(-2147483648.9), INT_MIN);
  EXPECT_EQ(truncate_toward_zero(-2147483647.9), -2147483647);
  EXPECT_EQ(frame_column(soddy_frame, 1e20), INT_MAX);
  EXPECT_EQ(frame_row(soddy_frame, 1e20), INT_MIN);  // y up: far above
  EXPECT_EQ(frame_radius(soddy_frame, nan), INT_MIN);
}
