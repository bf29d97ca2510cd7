// soddy_gasket as a whole: a packing that never depends on the clock, then
// the limit set of the three inversions, which does point by point but
// always lies on the circle through the three points of contact.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "run_program.h"
#include "shared_run.h"

namespace {

constexpr long clock_a = 1700000000;
constexpr long clock_b = 1700003601;

const ProgramRun& run_at(long clock) { return shared_run("soddy_gasket", clock); }

std::set<std::uint32_t> colours_of(const Picture& picture) {
  return std::set<std::uint32_t>(picture.rgb.begin(), picture.rgb.end());
}

// The orthogonal circle: world centre (-0.4641, 0.2679), radius 0.4641,
// through the frame (scale 200, origin (400, 300), y up).
const double orbit_column = 400 - 200 * 0.46410161513775;
const double orbit_row = 300 - 200 * 0.26794919243112;
const double orbit_radius = 200 * 0.46410161513775;

// Every red pixel is part of a radius-1 mark centred within a pixel of the
// circle, so its centre lies within about 1.8 pixels of it; the marks stay
// within columns 214..399 and rows 153..339, their arms one pixel further.
// The marks go all the way round: of the 36 sectors of 10 degrees only
// those at a point of contact, where the orbit comes seldom, may stay empty.
void expect_orbit_on_the_orthogonal_circle(const Picture& picture) {
  const auto reds = pixels_of(picture, rgb_red);
  ASSERT_GT(reds.size(), 1000u);
  std::set<int> sectors;  // of 10 degrees each
  for (const auto& [x, y] : reds) {
    EXPECT_TRUE(x >= 213 && x <= 400 && y >= 152 && y <= 340) << "(" << x << ", " << y << ")";
    const double dx = x + 0.5 - orbit_column;
    const double dy = y + 0.5 - orbit_row;
    EXPECT_NEAR(std::hypot(dx, dy), orbit_radius, 2.0) << "(" << x << ", " << y << ")";
    sectors.insert(static_cast<int>(std::floor(std::atan2(dy, dx) * 18 / std::numbers::pi)));
  }
  EXPECT_GE(sectors.size(), 32u);
}

TEST(SoddyGasket, PackingHasItsDiscsAtTheirPixelsWhateverTheClock) {
  ASSERT_EQ(run_at(clock_a).pictures.size(), 2u);
  ASSERT_EQ(run_at(clock_b).pictures.size(), 2u);
  const Picture& packing = run_at(clock_a).pictures[0];
  EXPECT_TRUE(same_picture(packing, run_at(clock_b).pictures[0]));

  const std::set<std::uint32_t> five = {rgb_white, rgb_black, rgb_blue, rgb_red, rgb_green};
  EXPECT_EQ(colours_of(packing), five);

  // Starting circle 0, (400, 300) radius 53: blue to its edge, white beyond
  // (its top touches circle 1 and is covered by later generations).
  EXPECT_EQ(packing.at(400, 300), rgb_blue);
  EXPECT_EQ(packing.at(453, 300), rgb_blue);
  EXPECT_EQ(packing.at(454, 300), rgb_white);
  EXPECT_EQ(packing.at(347, 300), rgb_blue);
  EXPECT_EQ(packing.at(346, 300), rgb_white);
  EXPECT_EQ(packing.at(400, 353), rgb_blue);
  EXPECT_EQ(packing.at(400, 354), rgb_white);
  // Starting circle 2, (53, 500) radius 346 (53.6 truncated, not rounded).
  EXPECT_EQ(packing.at(399, 500), rgb_blue);
  EXPECT_EQ(packing.at(400, 500), rgb_white);
  EXPECT_EQ(packing.at(53, 154), rgb_blue);
  EXPECT_EQ(packing.at(53, 153), rgb_white);
  // Generation 1, slot 3: circle 2 inverted in circle 1, (284, 100) radius
  // 115, black inside blue circle 1 (its top is off the window).
  EXPECT_EQ(packing.at(284, 100), rgb_black);
  EXPECT_EQ(packing.at(284 + 115, 100), rgb_black);
  EXPECT_EQ(packing.at(284 + 116, 100), rgb_blue);
  EXPECT_EQ(packing.at(284 - 115, 100), rgb_black);
  EXPECT_EQ(packing.at(284 - 116, 100), rgb_blue);
  EXPECT_EQ(packing.at(284, 100 + 115), rgb_black);
  EXPECT_EQ(packing.at(284, 100 + 116), rgb_blue);
}

TEST(SoddyGasket, OrbitTracesTheOrthogonalCircleOnACleanCanvas) {
  for (const long clock : {clock_a, clock_b}) {
    SCOPED_TRACE(clock);
    ASSERT_EQ(run_at(clock).pictures.size(), 2u);
    const Picture& orbit = run_at(clock).pictures[1];
    const std::set<std::uint32_t> three = {rgb_white, rgb_black, rgb_red};
    EXPECT_EQ(colours_of(orbit), three);
    expect_orbit_on_the_orthogonal_circle(orbit);
    // The black pixels are the three outlines: (400, 300) radius 53,
    // (400, -100) and (53, 500) radius 346.
    for (const auto& [x, y] : pixels_of(orbit, rgb_black)) {
      const double off_0 = std::abs(std::hypot(x - 400.0, y - 300.0) - 53);
      const double off_1 = std::abs(std::hypot(x - 400.0, y + 100.0) - 346);
      const double off_2 = std::abs(std::hypot(x - 53.0, y - 500.0) - 346);
      EXPECT_LT(std::min({off_0, off_1, off_2}), 1.0) << "(" << x << ", " << y << ")";
    }
  }
}

TEST(SoddyGasket, OrbitDependsOnTheClock) {
  ASSERT_EQ(run_at(clock_a).pictures.size(), 2u);
  ASSERT_EQ(run_at(clock_b).pictures.size(), 2u);
  EXPECT_FALSE(same_picture(run_at(clock_a).pictures[1], run_at(clock_b).pictures[1]));
}

}  // namespace
