// Circle generations: sizes, pair order, the float mirror radius squared,
// per-image colours and the capacity guards.
#include <cmath>

#include "canvas_test.h"
#include "circle_generation.h"
#include "invert_circle.h"
#include "screen_inversion.h"

namespace {
constexpr WorldFrame soddy_frame{200, 400, 300, YAxis::up};
constexpr WorldFrame packing_frame{230, 380, 150, YAxis::down};
constexpr WorldFrame two_circle_frame{200, 400, 200, YAxis::up};

const float sqrt3 = static_cast<float>(std::sqrt(3.0));
const float soddy_circles[3][3] = {
    {0, 0, static_cast<float>(2 - std::sqrt(3.0))}, {0, 2, sqrt3}, {-sqrt3, -1, sqrt3}};

// Program-sized stores are large: keep them out of the stack.
CircleStore<3000> soddy_current;
CircleStore<30000> soddy_next;
CircleStore<100000> packing_current;
CircleStore<100000> packing_next;

template <int C, int N>
CircleGeneration start(CircleStore<C>& current, CircleStore<N>& next, const float (*circles)[3],
                       int n) {
  for (int k = 0; k < n; ++k) set_circle(current.slots(), k, circles[k][0], circles[k][1], circles[k][2]);
  return {current.slots(), n, next.slots(), 0};
}
}  // namespace

using InversionGeneration = CanvasTest;

TEST_F(InversionGeneration, ThreeCirclesGrowSixThirtyAndEightHundredSeventy) {
  CircleGeneration g = start(soddy_current, soddy_next, soddy_circles, 3);
  const int sizes[] = {6, 30, 870};
  for (int round = 0; round < 3; ++round) {
    if (round > 0) {
      ASSERT_TRUE(promote_generation(g));
      EXPECT_EQ(g.n, sizes[round - 1]);
      EXPECT_EQ(g.n_next, 0);
    }
    ASSERT_TRUE(grow_generation(g, soddy_frame, colour_black));
    EXPECT_EQ(g.n_next, sizes[round]);
  }
  for (int k = 0; k < 870; ++k) EXPECT_GE(soddy_next.r[k], 0) << k;
}

TEST_F(InversionGeneration, FourCirclesGrowTwelveAndSoOnToSeventeenThousand) {
  const float packing[4][3] = {
      {0, 0.1f, 0.405f}, {-1.4f, 0, 1}, {1.71f, -0.198f, 1.33f}, {0, 2.5f, 1.865f}};
  CircleGeneration g = start(packing_current, packing_next, packing, 4);
  ASSERT_TRUE(grow_generation(g, packing_frame, colour_black));
  EXPECT_EQ(g.n_next, 12);
  ASSERT_TRUE(promote_generation(g));
  ASSERT_TRUE(grow_generation(g, packing_frame, colour_black));
  EXPECT_EQ(g.n_next, 132);
  ASSERT_TRUE(promote_generation(g));
  EXPECT_EQ(g.n, 132);
  for (int k = 0; k < 132; ++k) EXPECT_EQ(packing_current.x[k], packing_next.x[k]) << k;
  ASSERT_TRUE(grow_generation(g, packing_frame, colour_black));
  EXPECT_EQ(g.n_next, 17292);
}

TEST_F(InversionGeneration, OneCircleGrowsNothing) {
  CircleGeneration g = start(soddy_current, soddy_next, soddy_circles, 1);
  EXPECT_TRUE(grow_generation(g, soddy_frame, colour_black));
  EXPECT_EQ(g.n_next, 0);
  EXPECT_TRUE(changed_pixels(colour_white).empty());
}

TEST_F(InversionGeneration, SlotsFollowThePairOrder) {
  CircleGeneration g = start(soddy_current, soddy_next, soddy_circles, 3);
  ASSERT_TRUE(grow_generation(g, soddy_frame, colour_black));
  // Slot 3 is circle 2 in circle 1: centre (-sqrt3 / 3, 1), radius sqrt3 / 3.
  EXPECT_NEAR(soddy_next.x[3], -std::sqrt(3.0) / 3, 1e-6);
  EXPECT_NEAR(soddy_next.y[3], 1, 1e-6);
  EXPECT_NEAR(soddy_next.r[3], std::sqrt(3.0) / 3, 1e-6);
  EXPECT_EQ(frame_column(soddy_frame, soddy_next.x[3]), 284);
  EXPECT_EQ(frame_row(soddy_frame, soddy_next.y[3]), 100);
  EXPECT_EQ(frame_radius(soddy_frame, soddy_next.r[3]), 115);
  // Every slot k, inverted back in its mirror, gives back its circle.
  const int pairs[6][2] = {{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}};
  for (int k = 0; k < 6; ++k) {
    const float* m = soddy_circles[pairs[k][0]];
    const float* c = soddy_circles[pairs[k][1]];
    const Circle back = image_circle(m[0], m[1], m[2] * m[2], soddy_next.x[k], soddy_next.y[k],
                                     soddy_next.r[k]);
    EXPECT_NEAR(back.x, c[0], 1e-4) << k;
    EXPECT_NEAR(back.y, c[1], 1e-4) << k;
    EXPECT_NEAR(back.r, c[2], 1e-4) << k;
  }
}

TEST_F(InversionGeneration, MirrorRadiusSquaredIsTheFloatProduct) {
  // sqrt3 as a float squares to exactly 3 in float, but to 2.99999989 in
  // double; slot 4 (circle 0 in circle 2) stores a different float for each.
  ASSERT_EQ(sqrt3 * sqrt3, 3.0f);
  const float* m = soddy_circles[2];
  const float* c = soddy_circles[0];
  const Circle with_float = image_circle(m[0], m[1], 3.0, c[0], c[1], c[2]);
  const Circle with_double = image_circle(m[0], m[1], double(m[2]) * m[2], c[0], c[1], c[2]);
  ASSERT_NE(static_cast<float>(with_float.x), static_cast<float>(with_double.x));

  CircleGeneration g = start(soddy_current, soddy_next, soddy_circles, 3);
  ASSERT_TRUE(grow_generation(g, soddy_frame, colour_black));
  EXPECT_EQ(soddy_next.x[4], static_cast<float>(with_float.x));
  EXPECT_EQ(soddy_next.y[4], static_cast<float>(with_float.y));
  EXPECT_EQ(soddy_next.r[4], static_cast<float>(with_float.r));
}

TEST_F(InversionGeneration, TwoCirclesStayTwoWithTheMirrorAsSlot) {
  const float pair[2][3] = {{0, -2, 1.2f}, {0, 2.2f, 2.9f}};
  CircleStore<30> current, next;
  CircleGeneration g = start(current, next, pair, 2);
  // The listed pixels of the three generations; slot 0 stays inside circle 0.
  const int expected[3][2][3] = {{{400, 468, 90}, {400, 196, 124}},
                                 {{400, 431, 17}, {400, 259, 21}},
                                 {{400, 429, 0}, {400, 262, 0}}};
  const Uint32 colours[] = {colour_black, colour_red, colour_green};
  for (int round = 0; round < 3; ++round) {
    if (round > 0) {
      ASSERT_TRUE(promote_generation(g));
    }
    ASSERT_TRUE(grow_generation(g, two_circle_frame, colours[round]));
    ASSERT_EQ(g.n_next, 2);
    for (int k = 0; k < 2; ++k) {
      EXPECT_EQ(frame_column(two_circle_frame, next.x[k]), expected[round][k][0]) << round << k;
      EXPECT_EQ(frame_row(two_circle_frame, next.y[k]), expected[round][k][1]) << round << k;
      EXPECT_EQ(frame_radius(two_circle_frame, next.r[k]), expected[round][k][2]) << round << k;
    }
  }
  // Radius 0 images are still drawn: one green pixel each, inside the red.
  EXPECT_EQ(get_pixel(400, 429), colour_green);
  EXPECT_EQ(get_pixel(400, 262), colour_green);
  EXPECT_EQ(get_pixel(401, 429), colour_red);
  EXPECT_EQ(count_pixels(colour_green), 2);
}

namespace {
Uint32 image_colours[6];
int colour_calls = 0;
Uint32 next_image_colour() { return image_colours[colour_calls++ % 6]; }
}  // namespace

TEST_F(InversionGeneration, PerImageColourIsDrawnOncePerImageInPairOrder) {
  // Three small circles far apart: every image is a single pixel near its
  // mirror's centre, so each pixel shows the colour its image was given.
  const float apart[3][3] = {{-1, 0, 0.2f}, {1, 0, 0.2f}, {0, 1, 0.2f}};
  const Uint32 values[6] = {colour_black, colour_red, colour_green,
                            colour_blue, colour_yellow, map_colour(1, 2, 3)};
  for (int k = 0; k < 6; ++k) image_colours[k] = values[k];
  colour_calls = 0;
  CircleStore<3> current;
  CircleStore<6> next;
  CircleGeneration g = start(current, next, apart, 3);
  ASSERT_TRUE(grow_generation(g, soddy_frame, next_image_colour));
  EXPECT_EQ(colour_calls, 6);
  EXPECT_EQ(changed_pixels(colour_white).size(), 6u);
  for (int k = 0; k < 6; ++k) {
    ASSERT_EQ(frame_radius(soddy_frame, next.r[k]), 0) << k;
    EXPECT_EQ(get_pixel(frame_column(soddy_frame, next.x[k]), frame_row(soddy_frame, next.y[k])),
              values[k])
        << k;
  }
}

TEST_F(InversionGeneration, RefusesToExceedEitherCapacity) {
  CircleStore<3> current;
  CircleStore<5> small_next;
  for (int k = 0; k < 5; ++k) small_next.x[k] = -99;
  CircleGeneration g = start(current, small_next, soddy_circles, 3);
  colour_calls = 0;
  EXPECT_FALSE(grow_generation(g, soddy_frame, next_image_colour));  // 6 images, 5 slots
  EXPECT_EQ(colour_calls, 0);
  EXPECT_EQ(g.n, 3);
  EXPECT_EQ(g.n_next, 0);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(small_next.x[k], -99) << k;
  EXPECT_TRUE(changed_pixels(colour_white).empty());

  // Six images fit six slots, but six circles do not fit a current of three.
  CircleStore<6> next;
  g = start(current, next, soddy_circles, 3);
  ASSERT_TRUE(grow_generation(g, soddy_frame, colour_black));
  EXPECT_FALSE(promote_generation(g));
  EXPECT_EQ(g.n, 3);
  EXPECT_EQ(g.n_next, 6);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(current.r[k], soddy_circles[k][2]) << k;
}
