// soddy_radius_sweep as a whole: fifteen passes, each the four circles
// alone and then the orbit of the walk that refuses points inside the
// chosen circle, while the central circle grows by 0.1 a pass.
#include <gtest/gtest.h>

#include <string>

#include "walk_checks.h"
#include "shared_run.h"

namespace {

constexpr long clock_a = 1700000000;
constexpr long clock_b = 1700003601;
constexpr int passes = 15;

const ProgramRun& run_at(long clock) { return shared_run("soddy_radius_sweep", clock); }

// Circle 0's pixel radius in pass p (from 1): truncate(120 r) with r the
// float of t + 0.2679491924311228, t = -0.2 + 0.1 (p - 1).
int central_radius(int pass) { return 8 + 12 * (pass - 1); }

// The first picture of each pass shows the circles alone, black on white,
// circle 0 with exactly the pixel radius of its pass: nothing on its row
// one pixel inside or outside the outline.
TEST(SoddyRadiusSweep, CentralCircleHasItsPassRadiusAndTheOthersStayPut) {
  const ProgramRun& run = run_at(clock_a);
  ASSERT_EQ(run.pictures.size(), 2u * passes);
  for (int pass = 1; pass <= passes; ++pass) {
    const Picture& circles = run.pictures[2 * (pass - 1)];
    const std::string label = "pass " + std::to_string(pass);
    EXPECT_EQ(pixels_of(circles, rgb_black).size() + pixels_of(circles, rgb_white).size(),
              800u * 600u)
        << label << ": the circles alone";
    const int r = central_radius(pass);
    EXPECT_EQ(circles.at(400 + r, 300), rgb_black) << label;
    EXPECT_EQ(circles.at(400 - r, 300), rgb_black) << label;
    EXPECT_EQ(circles.at(400, 300 + r), rgb_black) << label;
    EXPECT_EQ(circles.at(400, 300 - r), rgb_black) << label;
    EXPECT_EQ(circles.at(400 + r + 1, 300), rgb_white) << label;
    EXPECT_EQ(circles.at(400 + r - 1, 300), rgb_white) << label;
    // The outer circles, radius 207 about (400, 60), (192, 420), (607, 420):
    // their axis points inside the window.
    for (const auto& [x, y] : PixelPositions{{193, 60}, {607, 60}, {400, 267}, {399, 420},
                                             {192, 213}, {400, 420}, {607, 213}})
      EXPECT_EQ(circles.at(x, y), rgb_black) << label << " at (" << x << ", " << y << ")";
  }
}

// The walk only adds red to the circles, and every plotted point lies
// within 208 pixels of the centre, well inside the window.
TEST(SoddyRadiusSweep, EveryOrbitStaysNearTheCentre) {
  const ProgramRun& run = run_at(clock_a);
  ASSERT_EQ(run.pictures.size(), 2u * passes);
  for (int pass = 1; pass <= passes; ++pass) {
    const std::string label = "pass " + std::to_string(pass);
    const Picture& circles = run.pictures[2 * (pass - 1)];
    const Picture& orbit = run.pictures[2 * pass - 1];
    expect_painted_over(circles, orbit, rgb_red, label);
    const PixelPositions red = pixels_of(orbit, rgb_red);
    EXPECT_GT(red.size(), 500u) << label;
    long far = 0;
    for (const auto& [x, y] : red)
      if ((x - 400) * (x - 400) + (y - 300) * (y - 300) > 208 * 208) ++far;
    EXPECT_EQ(far, 0) << label << ": red pixels more than 208 pixels from the centre";
  }
}

TEST(SoddyRadiusSweep, AnotherClockTracesTheSameOrbits) {
  const ProgramRun& a = run_at(clock_a);
  const ProgramRun& b = run_at(clock_b);
  ASSERT_EQ(a.pictures.size(), 2u * passes);
  ASSERT_EQ(b.pictures.size(), 2u * passes);
  EXPECT_TRUE(same_picture(a.pictures[0], b.pictures[0])) << "the circles depend on the clock";
  EXPECT_FALSE(same_picture(a.pictures[5], b.pictures[5])) << "the walk ignores the clock";
  for (int pass : {3, 8, 15}) {
    const Picture& orbit_a = a.pictures[2 * pass - 1];
    const Picture& orbit_b = b.pictures[2 * pass - 1];
    EXPECT_GT(share_near(orbit_a, orbit_b, rgb_red, 1), 0.9) << "pass " << pass;
  }
}

}  // namespace
