// The zoomed walk against the limit set drawn word by word (an independent
// answer): four disjoint circles, zoomed 10^3, 10^6 and 10^9 times into a
// point of their limit set that a walk reaches, 10^6 steps each.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "limit_set.h"
#include "walk_configurations.h"
#include "zoomed_walk.h"

namespace {

constexpr int width = 800, height = 600;
constexpr std::uint32_t background = 0xFFFFFF;

using Pixels = std::vector<std::uint32_t>;

}  // namespace

TEST(ZoomedWalk, StaysFullAtEveryMagnification) {
  const Circle circles[4] = {{1.5, 1.5, 1.4}, {-1.5, 1.5, 1.4}, {-1.5, -1.5, 1.4}, {1.5, -1.5, 1.4}};
  NestedDiscs discs;
  ASSERT_EQ(nested_discs(circles, 4, discs).fault, NestFault::none);
  double x[4], y[4], R2[4];
  for (int k = 0; k < 4; ++k) x[k] = circles[k].x, y[k] = circles[k].y, R2[k] = 1.4 * 1.4;
  const WalkCircles set = walk_circles(x, y, R2, 4);

  // A point of the limit set: where a walk is after 10^4 steps.
  RandomGenerator random;
  seed_random(random, 7);
  WalkState at{3.0, 3.0, no_previous};
  std::uint32_t spare = 0;
  inversion_walk(Canvas{&spare, 1, 1, 1}, set, at,
                 {PickRule::random_no_repeat, InsideRule::none, PointStorage::double_width, 10000,
                  no_burn_in, WalkPlot::pixel, 0},
                 WorldFrame{1, 0, 0, YAxis::up}, random);

  auto run = std::make_unique<LimitSetRun>();
  auto words = std::make_unique<CoverWords>();
  for (double zoom : {1.0, 1e3, 1e6, 1e9}) {
    SCOPED_TRACE(testing::Message() << zoom << " x");
    const double scale = 100 * zoom;
    const WorldFrame frame{scale, width / 2.0 - at.x * scale, height / 2.0 + at.y * scale, YAxis::up};
    Pixels limit(width * height, background), walked(width * height, background);
    begin_limit_set(*run, discs, {max_limit_depth, INT64_MAX, LimitPlot::pixel, false, 0, {}, 0, {}},
                    frame, width, height);
    continue_limit_set(*run, Canvas{limit.data(), width, height, width}, INT64_MAX);

    cover_words(discs, frame, width, height, max_limit_depth, *run, *words);
    EXPECT_EQ(words->dropped, 0);
    const WalkRules rules{PickRule::random_no_repeat, InsideRule::none,
                          PointStorage::double_width, 1000000, 1000, WalkPlot::pixel, 0};
    seed_random(random, 1);
    WalkState state{3.0, 3.0, no_previous};
    zoomed_walk(Canvas{walked.data(), width, height, width}, set, *words, state, rules, frame, random);
    Pixels plain(width * height, background);  // the walk alone, for the figures
    seed_random(random, 1);
    state = {3.0, 3.0, no_previous};
    inversion_walk(Canvas{plain.data(), width, height, width}, set, state, rules, frame, random);
    const auto [hidden, limit_pixels] = far_from(limit, walked, width, height, background);
    const auto [stray, walk_pixels] = far_from(walked, limit, width, height, background);
    const long shown = limit_pixels - hidden, agreeing = walk_pixels - stray;
    EXPECT_GE(limit_pixels, 100);
    EXPECT_GE(shown * 10, limit_pixels * 9) << shown << " of " << limit_pixels;
    EXPECT_GE(agreeing * 100, walk_pixels * 99) << agreeing << " of " << walk_pixels;
    std::printf("%g x: %d cover words; of the limit set's %ld pixels, %ld within a pixel of the "
                "zoomed walk's, %ld of the walk's alone\n", zoom, words->count, limit_pixels, shown,
                limit_pixels - far_from(limit, plain, width, height, background).far);
  }
}
