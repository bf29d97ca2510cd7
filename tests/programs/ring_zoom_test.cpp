// ring_zoom as a whole: eighteen stages of one limit set, each enlarged by
// f = (1 + sin(pi/14)) / cos(pi/14) and drawn over the last in the next
// palette colour on a black canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "walk_checks.h"
#include "shared_run.h"

namespace {

constexpr long clock_a = 1700000000;
constexpr long clock_b = 1700003601;
constexpr double zoom_factor = 1.2539603376627038;

const std::uint32_t palette[8] = {0xFF0000, 0x00FA00, 0x0000FA, 0xFFFF00,
                                  0xC30000, 0x00BE00, 0x0000BE, 0x9B9B00};

const ProgramRun& run_at(long clock) { return shared_run("ring_zoom", clock); }

double farthest_from_centre(const PixelPositions& positions) {
  double farthest = 0;
  for (const auto& [x, y] : positions) farthest = std::max(farthest, std::hypot(x - 400, y - 300));
  return farthest;
}

// Stage 0 is small: the fifteen white outlines fit the 21 x 21 square of the
// central circle (radius 10 about (400, 300)), the red limit set reaches f
// times further. Stage k adds only pixels of palette entry k mod 8, reaching
// out to f^(k + 1) times the central circle's 10 pixels (plus the mark's arm
// and the truncation), until the stages outgrow the window.
TEST(RingZoom, StagesGrowFromTheCentreByTheZoomFactorInPaletteColours) {
  const ProgramRun& run = run_at(clock_a);
  ASSERT_EQ(run.pictures.size(), 19u);
  const Picture& first = run.pictures[0];
  const PixelPositions white = pixels_of(first, rgb_white);
  ASSERT_FALSE(white.empty());
  expect_inside(white, {390, 410, 290, 310}, "stage 0 outlines");
  const PixelPositions red = pixels_of(first, rgb_red);
  expect_inside(red, {385, 415, 285, 315}, "stage 0 limit set");
  const PixelBox box = box_of(red);
  EXPECT_GE(box.right - box.left + 1, 24);
  EXPECT_GE(box.bottom - box.top + 1, 24);
  EXPECT_EQ(white.size() + red.size() + pixels_of(first, rgb_black).size(), 800u * 600u);

  for (int k = 1; k < 18; ++k) {
    const std::string stage = "stage " + std::to_string(k);
    const PixelPositions added = changed_pixels(run.pictures[k - 1], run.pictures[k]);
    ASSERT_FALSE(added.empty()) << stage;
    expect_painted_over(run.pictures[k - 1], run.pictures[k], palette[k % 8], stage);
    if (k > 15) continue;  // cut off by the window's edges
    const double reach = 10 * std::pow(zoom_factor, k + 1);
    const double farthest = farthest_from_centre(added);
    EXPECT_GE(farthest, reach) << stage;
    EXPECT_LE(farthest, reach + 3) << stage;
  }
  // The last flip shows the canvas of stage 17 unchanged.
  EXPECT_TRUE(same_picture(run.pictures[17], run.pictures[18]));
}

TEST(RingZoom, AnotherClockTracesTheSameLimitSet) {
  const ProgramRun& a = run_at(clock_a);
  const ProgramRun& b = run_at(clock_b);
  ASSERT_EQ(a.pictures.size(), 19u);
  ASSERT_EQ(b.pictures.size(), 19u);
  EXPECT_FALSE(same_picture(a.pictures[18], b.pictures[18])) << "the walk ignores the clock";
  EXPECT_GT(share_near(a.pictures[0], b.pictures[0], rgb_red, 1), 0.95);
  // Stage 14, the last one wholly inside the window.
  const Picture& a14 = a.pictures[14];
  const Picture& b14 = b.pictures[14];
  EXPECT_GT(share_near(a14, b14, palette[14 % 8], 1), 0.95);
}

}  // namespace
