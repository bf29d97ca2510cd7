// five_circle_limit as a whole: three configurations of five circles and
// their limit sets on one canvas, every walk point a direct pixel write.
#include <gtest/gtest.h>

#include "walk_checks.h"
#include "shared_run.h"

namespace {

constexpr long clock_a = 1700000000;
constexpr long clock_b = 1700003601;

const ProgramRun& run_at(long clock) { return shared_run("five_circle_limit", clock); }

struct PixelCircle {
  int column, row, radius;
};

// The outlines of the three configurations, as the table gives them on screen.
const PixelCircle configuration_1[5] = {
    {405, 295, 5}, {395, 295, 5}, {395, 305, 5}, {405, 305, 5}, {400, 300, 12}};
const PixelCircle configuration_2[5] = {
    {417, 300, 12}, {400, 282, 12}, {382, 300, 12}, {400, 317, 12}, {400, 300, 29}};
const PixelCircle configuration_3[5] = {
    {429, 329, 29}, {429, 270, 29}, {370, 270, 29}, {370, 329, 29}, {400, 300, 70}};

// draw_circle always plots the four axis points of an outline.
void expect_axis_points(const Picture& picture, const PixelCircle (&circles)[5],
                        std::uint32_t colour) {
  for (const PixelCircle& c : circles) {
    const int points[4][2] = {{c.column + c.radius, c.row},
                              {c.column - c.radius, c.row},
                              {c.column, c.row + c.radius},
                              {c.column, c.row - c.radius}};
    for (const auto& point : points)
      EXPECT_EQ(picture.at(point[0], point[1]), colour)
          << "circle (" << c.column << ", " << c.row << ") r " << c.radius << " at ("
          << point[0] << ", " << point[1] << ")";
  }
}

TEST(FiveCircleLimit, OutlinesLieAtTheirTruncatedPixels) {
  const ProgramRun& run = run_at(clock_a);
  ASSERT_EQ(run.pictures.size(), 4u);
  expect_axis_points(run.pictures[0], configuration_1, rgb_black);
  expect_axis_points(run.pictures[3], configuration_3, rgb_red);

  // Picture 2 adds configuration 2's outlines alone: 382 and 282, not 383
  // and 283, where 400 - 17.07 is truncated.
  expect_axis_points(run.pictures[1], configuration_2, rgb_green);
  const PixelPositions added = changed_pixels(run.pictures[0], run.pictures[1]);
  ASSERT_FALSE(added.empty());
  expect_inside(added, {370, 429, 270, 329}, "configuration 2's outlines");
  expect_painted_over(run.pictures[0], run.pictures[1], rgb_green, "picture 2");
}

TEST(FiveCircleLimit, EveryWalkStaysInItsRegionAndFillsIt) {
  const ProgramRun& run = run_at(clock_a);
  ASSERT_EQ(run.pictures.size(), 4u);
  // Picture 1 is configuration 1 and its walk, all black on white.
  const PixelPositions black = pixels_of(run.pictures[0], rgb_black);
  EXPECT_EQ(black.size() + pixels_of(run.pictures[0], rgb_white).size(), 800u * 600u);
  expect_inside(black, {371, 428, 271, 328}, "walk 1");
  EXPECT_GT(black.size(), 500u);

  // Walks 2 and 3 only add pixels of their own colour.
  expect_painted_over(run.pictures[1], run.pictures[2], rgb_green, "walk 2");
  const PixelPositions walk_2 = changed_pixels(run.pictures[1], run.pictures[2]);
  expect_inside(walk_2, {329, 470, 229, 370}, "walk 2");
  expect_painted_over(run.pictures[2], run.pictures[3], rgb_red, "configuration 3 and walk 3");
  const PixelPositions walk_3 = changed_pixels(run.pictures[2], run.pictures[3]);
  expect_inside(walk_3, {231, 568, 131, 468}, "walk 3");

  // Each limit set reaches out to the outer circle of the next configuration.
  const PixelBox box_2 = box_of(walk_2);
  EXPECT_LE(box_2.left, 335);
  EXPECT_GE(box_2.right, 464);
  const PixelBox box_3 = box_of(walk_3);
  EXPECT_LE(box_3.left, 240);
  EXPECT_GE(box_3.right, 560);
}

TEST(FiveCircleLimit, AnotherClockTracesTheSameLimitSets) {
  const ProgramRun& a = run_at(clock_a);
  const ProgramRun& b = run_at(clock_b);
  ASSERT_EQ(a.pictures.size(), 4u);
  ASSERT_EQ(b.pictures.size(), 4u);
  EXPECT_FALSE(same_picture(a.pictures[3], b.pictures[3])) << "the walk ignores the clock";
  EXPECT_GT(share_near(a.pictures[0], b.pictures[0], rgb_black, 1), 0.95);
  EXPECT_GT(share_near(a.pictures[3], b.pictures[3], rgb_red, 1), 0.95);
}

}  // namespace
