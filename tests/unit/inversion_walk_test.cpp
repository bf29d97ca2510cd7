// The random inversion walk: pick rules against program_random, burn-in
// and step counting, refusals, float storage, and the plot primitives.
#include <cmath>
#include <set>
#include <vector>

#include "canvas_test.h"
#include "invert_point.h"
#include "inversion_walk.h"
#include "random_generator.h"
#include "screen_inversion.h"

namespace {
constexpr WorldFrame soddy_frame{200, 400, 300, YAxis::up};
constexpr WorldFrame two_circle_frame{200, 400, 200, YAxis::up};

WalkCircles soddy_circles() {
  const float s = static_cast<float>(std::sqrt(3.0));
  const float x[] = {0, 0, -s};
  const float y[] = {0, 2, -1};
  const float r[] = {static_cast<float>(2 - std::sqrt(3.0)), s, s};
  double R2[3];
  for (int k = 0; k < 3; ++k) R2[k] = r[k] * r[k];
  return walk_circles(x, y, R2, 3);
}

WalkCircles doubles(std::initializer_list<Circle> set) {  // r holds R2 here
  double x[max_walk_circles], y[max_walk_circles], R2[max_walk_circles];
  int n = 0;
  for (const Circle& c : set) x[n] = c.x, y[n] = c.y, R2[n++] = c.r;
  return walk_circles(x, y, R2, n);
}

// n circles of radius 1 about the corners of a regular n-gon of radius 3.
WalkCircles ring_of(int n) {
  double x[max_walk_circles], y[max_walk_circles], R2[max_walk_circles];
  for (int k = 0; k < n; ++k) {
    x[k] = 3 * std::cos(2 * M_PI * k / n);
    y[k] = 3 * std::sin(2 * M_PI * k / n);
    R2[k] = 1;
  }
  return walk_circles(x, y, R2, n);
}

WalkRules rules(PickRule pick, long steps, long burn_in = no_burn_in,
                WalkPlot plot = WalkPlot::pixel, InsideRule inside = InsideRule::invert,
                PointStorage storage = PointStorage::double_width) {
  return {pick, inside, storage, steps, burn_in, plot, colour_red};
}
}  // namespace

using InversionWalk = CanvasTest;

// The pick is a remainder found without a division: every power of two up
// to the most circles a walk takes, and counts between them.
TEST_F(InversionWalk, RandomPicksFollowTheRandStreamWithoutRepeats) {
  const WalkCircles sets[] = {soddy_circles(), ring_of(2), ring_of(4), ring_of(5),
                              ring_of(8),      ring_of(14), ring_of(15), ring_of(16)};
  for (const WalkCircles& c : sets) {
    for (unsigned seed : {1u, 7u, 12345u}) {
      SCOPED_TRACE(testing::Message() << c.n << " circles, seed " << seed);
      // The rule: k = next_random() % n, drawn again while it equals the previous one.
      seed_random(program_random, seed);
      std::vector<int> picks;
      for (int previous = 0, i = 0; i < 300; ++i) {
        int k;
        do k = next_random(program_random) % c.n;
        while (k == previous);
        picks.push_back(previous = k);
      }
      const int next_value = next_random(program_random);

      // One step per walk: the previous index carries over between walks.
      seed_random(program_random, seed);
      WalkState state{10, 3, 0};
      for (int i = 0; i < 300; ++i) {
        const int before = state.previous;
        const Point expected = invert_point(state.x, state.y, c.x[picks[i]], c.y[picks[i]], c.R2[picks[i]]);
        inversion_walk(c, state, rules(PickRule::random, 1, 1), soddy_frame);
        ASSERT_EQ(state.previous, picks[i]) << "step " << i;
        EXPECT_NE(state.previous, before);
        EXPECT_DOUBLE_EQ(state.x, expected.x);
        EXPECT_DOUBLE_EQ(state.y, expected.y);
      }
      EXPECT_EQ(next_random(program_random), next_value) << "one value per pick, redraws included";
    }
  }
}

TEST_F(InversionWalk, FirstPickExcludesOnlyThePreviousIndex) {
  const WalkCircles c = soddy_circles();
  std::set<int> after_zero, after_none;
  for (unsigned seed = 1; seed <= 200; ++seed) {
    seed_random(program_random, seed);
    WalkState state{10, 3, 0};
    inversion_walk(c, state, rules(PickRule::random, 1, 1), soddy_frame);
    after_zero.insert(state.previous);
    seed_random(program_random, seed);
    state = {10, 3, no_previous};
    inversion_walk(c, state, rules(PickRule::random, 1, 1), soddy_frame);
    after_none.insert(state.previous);
  }
  EXPECT_EQ(after_zero, (std::set<int>{1, 2}));
  EXPECT_EQ(after_none, (std::set<int>{0, 1, 2}));
}

TEST_F(InversionWalk, BurnInHoldsBackItsFirstSteps) {
  const WalkCircles c = soddy_circles();
  seed_random(program_random, 3);
  WalkState state{10, 3, 0};
  const WalkRules quiet = rules(PickRule::random, 1001, 1001, WalkPlot::ring1);
  EXPECT_EQ(inversion_walk(c, state, quiet, soddy_frame).plotted, 0);
  EXPECT_TRUE(changed_pixels(colour_white).empty());
  EXPECT_NE(state.x, 10);

  // Step 1001 is the first to plot: its new point, as a radius-1 ring.
  seed_random(program_random, 3);
  state = {10, 3, 0};
  const WalkCounts one = inversion_walk(
      c, state, rules(PickRule::random, 1002, 1001, WalkPlot::ring1), soddy_frame);
  EXPECT_EQ(one.plotted, 1);
  const int column = frame_column(soddy_frame, state.x);
  const int row = frame_row(soddy_frame, state.y);
  EXPECT_EQ(changed_pixels(colour_white), drawn_alone([&] { draw_circle(column, row, 1, colour_red); }));

  SDL_FillRect(screen, nullptr, colour_white);
  state = {10, 3, 0};
  const WalkCounts full = inversion_walk(
      c, state, rules(PickRule::random, 500000, 1001, WalkPlot::ring1), soddy_frame);
  EXPECT_EQ(full.plotted, 498999);
  EXPECT_FALSE(full.stuck);
  // The orbit settles on the circle through the three points of contact.
  for (const auto& [x, y] : changed_pixels(colour_white)) {
    ASSERT_TRUE(x >= 210 && x <= 404 && y >= 149 && y <= 344) << x << "," << y;
    ASSERT_NEAR(std::hypot((x - 400) / 200.0 + 0.4641, (300 - y) / 200.0 - 0.2679), 0.4641, 0.03);
  }
}

TEST_F(InversionWalk, WithoutBurnInTheFirstImageIsPlottedButNotTheStart) {
  const WalkCircles c = doubles({{0, 0, 1}});
  WalkState state{1.25, 0, no_previous};  // start at pixel (650, 300)
  const WalkCounts counts = inversion_walk(c, state, rules(PickRule::cyclic, 1), soddy_frame);
  EXPECT_EQ(counts.plotted, 1);
  EXPECT_EQ(changed_pixels(colour_white), (std::vector<std::pair<int, int>>{{560, 300}}));
  EXPECT_EQ(get_pixel(560, 300), colour_red);
}

TEST_F(InversionWalk, CyclicRuleAlternatesAndDrawsNoRandomNumbers) {
  const float x[] = {0, 0};
  const float y[] = {-2, 2.2f};
  const float r[] = {1.2f, 2.9f};
  const double R2[] = {r[0] * r[0], r[1] * r[1]};
  const WalkCircles c = walk_circles(x, y, R2, 2);
  // The first new points from (3, 3), circles 0, 1, 0.
  const Point listed[] = {{0.1271, -1.7882}, {0.0671, 0.0934}, {0.0220, -1.3128}};
  WalkState state{};
  for (int steps = 1; steps <= 3; ++steps) {
    state = {3, 3, no_previous};
    inversion_walk(c, state, rules(PickRule::cyclic, steps, 1001), two_circle_frame);
    EXPECT_NEAR(state.x, listed[steps - 1].x, 5e-5) << steps;
    EXPECT_NEAR(state.y, listed[steps - 1].y, 5e-5) << steps;
  }
  const Point fourth = invert_point(state.x, state.y, x[1], y[1], R2[1]);
  state = {3, 3, no_previous};
  inversion_walk(c, state, rules(PickRule::cyclic, 4, 1001), two_circle_frame);
  EXPECT_DOUBLE_EQ(state.x, fourth.x);
  EXPECT_DOUBLE_EQ(state.y, fourth.y);

  // The program's walk: 989 rings of radius 2, all on two pixels.
  seed_random(program_random, 5);
  const int first_value = next_random(program_random);
  seed_random(program_random, 5);
  state = {3, 3, no_previous};
  const WalkCounts counts = inversion_walk(c, state, rules(PickRule::cyclic, 1000, 11, WalkPlot::ring2),
                                           two_circle_frame);
  EXPECT_EQ(next_random(program_random), first_value);
  EXPECT_EQ(counts.plotted, 989);
  EXPECT_EQ(changed_pixels(colour_white), drawn_alone([] {
              draw_circle(400, 262, 2, colour_red);
              draw_circle(400, 429, 2, colour_red);
            }));
}

TEST_F(InversionWalk, RejectedPicksAreDrawnAgainWithoutCountingAStep) {
  // Two overlapping circles and a far one: a point just inverted into A
  // usually lies inside B too, so B refuses it.
  const WalkCircles c = doubles({{0, 0, 4}, {1, 0, 4}, {0, 5, 1}});
  const long steps = 2000;
  seed_random(program_random, 11);
  double x = 3, y = 3;
  long refused = 0;
  for (int previous = 0, s = 0; s < steps; ++s) {
    int k;
    for (;;) {
      do k = next_random(program_random) % 3;
      while (k == previous);
      const double d2 = (x - c.x[k]) * (x - c.x[k]) + (y - c.y[k]) * (y - c.y[k]);
      if (c.R2[k] > d2) {
        ++refused;
        continue;
      }
      break;
    }
    const Point p = invert_point(x, y, c.x[k], c.y[k], c.R2[k]);
    x = p.x, y = p.y, previous = k;
  }
  const int next_value = next_random(program_random);
  ASSERT_GT(refused, 100);

  seed_random(program_random, 11);
  WalkState state{3, 3, 0};
  const WalkRules reject = rules(PickRule::random, steps, no_burn_in,
                                 WalkPlot::ring1, InsideRule::refuse);
  const WalkCounts counts = inversion_walk(c, state, reject, soddy_frame);
  EXPECT_EQ(counts.plotted, steps);
  EXPECT_EQ(counts.refused, refused);
  EXPECT_FALSE(counts.stuck);
  EXPECT_DOUBLE_EQ(state.x, x);
  EXPECT_DOUBLE_EQ(state.y, y);
  EXPECT_EQ(next_random(program_random), next_value);
}

TEST_F(InversionWalk, PointOnTheCircleIsInvertedAndStays) {
  const WalkCircles c = doubles({{0, 0, 25}});
  WalkState state{3, 4, no_previous};
  const WalkCounts counts = inversion_walk(
      c, state, rules(PickRule::cyclic, 3, no_burn_in, WalkPlot::ring1, InsideRule::refuse), soddy_frame);
  EXPECT_EQ(counts.refused, 0);
  EXPECT_EQ(counts.plotted, 3);
  EXPECT_EQ(state.x, 3);
  EXPECT_EQ(state.y, 4);
}

TEST_F(InversionWalk, PointOnTheChosenCentreIsRefused) {
  // Cyclic: step 0 (circle 0, point on its centre) is passed over; step 1
  // inverts in circle 1: (0, 0) -> (0.75, 0).
  WalkCircles c = doubles({{0, 0, 1}, {1, 0, 0.25}});
  WalkState state{0, 0, no_previous};
  WalkCounts counts = inversion_walk(c, state, rules(PickRule::cyclic, 2), soddy_frame);
  EXPECT_EQ(counts.refused, 1);
  EXPECT_EQ(counts.plotted, 1);
  EXPECT_DOUBLE_EQ(state.x, 0.75);
  EXPECT_EQ(changed_pixels(colour_white), (std::vector<std::pair<int, int>>{{550, 300}}));

  // Random: from the centre of circle 1 with previous 0 only circle 2 works.
  c = doubles({{0, 0, 1}, {1, 0, 0.25}, {0, 1, 0.25}});
  long refusals = 0;
  for (unsigned seed = 1; seed <= 20; ++seed) {
    seed_random(program_random, seed);
    state = {1, 0, 0};
    counts = inversion_walk(c, state, rules(PickRule::random, 1), soddy_frame);
    refusals += counts.refused;
    EXPECT_EQ(state.previous, 2);
    EXPECT_DOUBLE_EQ(state.x, 0.125);
    EXPECT_DOUBLE_EQ(state.y, 0.875);
  }
  EXPECT_GT(refusals, 0);
}

TEST_F(InversionWalk, WalkWithNoUsableCircleEndsStuck) {
  // A random walk over one circle: one step, then nowhere to go.
  const WalkCircles one = doubles({{0, 0, 1}});
  WalkState state{1.25, 0, no_previous};
  WalkCounts counts = inversion_walk(one, state, rules(PickRule::random, 5), soddy_frame);
  EXPECT_TRUE(counts.stuck);
  EXPECT_EQ(counts.plotted, 1);
  EXPECT_DOUBLE_EQ(state.x, 0.8);
  state = {1.25, 0, 0};
  counts = inversion_walk(one, state, rules(PickRule::random, 5), soddy_frame);
  EXPECT_TRUE(counts.stuck);
  EXPECT_EQ(counts.plotted, 0);
  EXPECT_EQ(state.x, 1.25);

  // Inside both circles under the refuse rule: every candidate refuses.
  const WalkCircles two = doubles({{0, 0, 100}, {1, 0, 100}});
  SDL_FillRect(screen, nullptr, colour_white);
  seed_random(program_random, 2);
  state = {0.5, 0, no_previous};
  counts = inversion_walk(two, state,
                          rules(PickRule::random, 10, no_burn_in, WalkPlot::pixel, InsideRule::refuse),
                          soddy_frame);
  EXPECT_TRUE(counts.stuck);
  EXPECT_EQ(counts.plotted, 0);
  EXPECT_GE(counts.refused, 1);
  EXPECT_EQ(state.x, 0.5);
  EXPECT_TRUE(changed_pixels(colour_white).empty());
}

TEST_F(InversionWalk, FloatPointIsStoredRoundedButPlottedExact) {
  // R2 = 0.5 - 1e-9 about (0, 0) from (1, 0): the image x is just below 0.5
  // (column 499) but rounds to 0.5f (column 500). The second step inverts
  // the stored point: from 0.5 to 1 - 2e-9 (column 599), whereas the exact
  // point would give 1 (column 600).
  const double R2 = 0.5 - 1e-9;
  const WalkCircles c = doubles({{0, 0, R2}});
  WalkState state{1, 0, no_previous};
  const WalkRules as_float = rules(PickRule::cyclic, 1, no_burn_in, WalkPlot::pixel, InsideRule::invert,
                                   PointStorage::float_width);
  inversion_walk(c, state, as_float, soddy_frame);
  EXPECT_EQ(state.x, 0.5);
  EXPECT_EQ(changed_pixels(colour_white), (std::vector<std::pair<int, int>>{{499, 300}}));

  SDL_FillRect(screen, nullptr, colour_white);
  state = {1, 0, no_previous};
  WalkRules two_steps = as_float;
  two_steps.steps = 2;
  inversion_walk(c, state, two_steps, soddy_frame);
  EXPECT_EQ(changed_pixels(colour_white), (std::vector<std::pair<int, int>>{{499, 300}, {599, 300}}));

  SDL_FillRect(screen, nullptr, colour_white);
  state = {1, 0, no_previous};
  two_steps.storage = PointStorage::double_width;
  inversion_walk(c, state, two_steps, soddy_frame);
  EXPECT_EQ(changed_pixels(colour_white), (std::vector<std::pair<int, int>>{{499, 300}, {600, 300}}));
}

TEST_F(InversionWalk, PlotPrimitivesDrawThePointPixelOrRing) {
  const WalkCircles c = doubles({{0, 0, 1}});
  // (1.25, 0) -> (0.8, 0), pixel (560, 300); (-0.4985, 0.025) -> about
  // (-2.001, 0.1), column 0, where the ring is clipped.
  for (const Point start : {Point{1.25, 0}, Point{-0.4985, 0.025}}) {
    for (const WalkPlot plot : {WalkPlot::pixel, WalkPlot::ring1, WalkPlot::ring2}) {
      SDL_FillRect(screen, nullptr, colour_white);
      WalkState state{start.x, start.y, no_previous};
      inversion_walk(c, state, rules(PickRule::cyclic, 1, no_burn_in, plot), soddy_frame);
      const int column = frame_column(soddy_frame, state.x);
      const int row = frame_row(soddy_frame, state.y);
      const auto drawn = changed_pixels(colour_white);
      EXPECT_EQ(count_pixels(colour_red), static_cast<int>(drawn.size()));
      if (plot == WalkPlot::pixel)
        EXPECT_EQ(drawn, (std::vector<std::pair<int, int>>{{column, row}}));
      else
        EXPECT_EQ(drawn, drawn_alone([&] {
                    draw_circle(column, row, plot == WalkPlot::ring1 ? 1 : 2, colour_red);
                  }));
    }
  }
  // The radius-1 figure: the centre and its four neighbours.
  SDL_FillRect(screen, nullptr, colour_white);
  WalkState state{1.25, 0, no_previous};
  inversion_walk(c, state, rules(PickRule::cyclic, 1, no_burn_in, WalkPlot::ring1), soddy_frame);
  EXPECT_EQ(changed_pixels(colour_white),
            (std::vector<std::pair<int, int>>{{560, 299}, {559, 300}, {560, 300}, {561, 300}, {560, 301}}));
}

// A point that lands near a centre is thrown far out of the window: it is
// not drawn, and every other point is drawn as it would be anyway. The
// ring of four circles inside a fifth, at five pixels a unit, throws one
// out now and then; a model of the walk says where every point goes.
TEST_F(InversionWalk, PointsThrownOutOfTheWindowAreLeftOut) {
  const double s = 5.82842712474619, outer = 14.071067811865474;
  const WalkCircles c = doubles({{s, -s, s * s}, {s, s, s * s}, {-s, s, s * s}, {-s, -s, s * s}, {0, 0, outer * outer}});
  constexpr WorldFrame frame{5, 400, 300, YAxis::up};
  int thrown_out = 0;
  for (unsigned seed = 1700000000; seed < 1700000040; ++seed) {
    seed_random(program_random, seed);
    RandomGenerator model = program_random;
    std::vector<Uint32> expected(window_width * window_height, colour_white);
    double x = 3, y = 3;
    for (int step = 0, previous = no_previous; step < 100000; ++step) {
      int k;
      do k = next_random(model) % 5;
      while (k == previous);
      const Point image = invert_point(x, y, c.x[k], c.y[k], c.R2[k]);
      x = image.x, y = image.y, previous = k;
      const int column = frame_column(frame, x), row = frame_row(frame, y);
      if (in_window(column, row))
        expected[static_cast<std::size_t>(row) * window_width + column] = colour_red;
      else
        ++thrown_out;
    }
    SDL_FillRect(screen, nullptr, colour_white);
    WalkState state{3, 3, no_previous};
    inversion_walk(c, state, rules(PickRule::random, 100000), frame);
    for (int row = 0; row < window_height; ++row)
      for (int column = 0; column < window_width; ++column)
        ASSERT_EQ(get_pixel(column, row), expected[static_cast<std::size_t>(row) * window_width + column])
            << "seed " << seed << " at (" << column << ", " << row << ")";
  }
  EXPECT_GT(thrown_out, 0) << "no seed threw a point out: the test proves nothing";
}

TEST(InversionWalkCircles, SquaringFormsTheFloatProduct) {
  // sqrt3 as a float squares to exactly 3 in float, not in double; eight
  // circles so that a vectorised loop is covered too.
  const float s = static_cast<float>(std::sqrt(3.0));
  ASSERT_NE(double(s) * double(s), 3.0);
  const float x[8] = {1.5f, 0, 0, 0, 0, 0, 0, -4};
  const float y[8] = {-2, 0, 0, 0, 0, 0, 0, 0.25f};
  const float r[8] = {s, s, s, s, s, s, s, s};
  const WalkCircles c = walk_circles_squaring(x, y, r, 8);
  EXPECT_EQ(c.n, 8);
  EXPECT_EQ(c.x[0], 1.5);
  EXPECT_EQ(c.y[7], 0.25);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(c.R2[k], 3.0) << k;
}
