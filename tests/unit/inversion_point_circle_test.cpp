// Point and circle inversion, and the two drawing forms of invert_circle:
// the storing form keeps floats and fills from them, the outline form draws
// from the full-precision values.
#include <cmath>

#include "canvas_test.h"
#include "circle_generation.h"
#include "invert_circle.h"
#include "invert_point.h"
#include "screen_inversion.h"

namespace {
constexpr WorldFrame soddy_frame{200, 400, 300, YAxis::up};
constexpr double third = 1.0 / 3.0;
}  // namespace

TEST(InversionPoint, MapsAlongTheRayWithProductR2) {
  // Mirror about (1, 2) with R2 = 4: p' lies on the ray from c through p and
  // |p - c| |p' - c| = R2.
  const Point points[] = {{4, 6}, {0.5, 2.1}, {-7, 3}, {1, -0.25}};
  for (const Point p : points) {
    const Point q = invert_point(p.x, p.y, 1, 2, 4);
    const double dp = std::hypot(p.x - 1, p.y - 2);
    const double dq = std::hypot(q.x - 1, q.y - 2);
    EXPECT_NEAR(dp * dq, 4, 1e-12);
    EXPECT_NEAR((p.x - 1) * (q.y - 2) - (p.y - 2) * (q.x - 1), 0, 1e-12);  // collinear
    EXPECT_GT((p.x - 1) * (q.x - 1) + (p.y - 2) * (q.y - 2), 0);          // same side
    const Point back = invert_point(q.x, q.y, 1, 2, 4);  // an involution
    EXPECT_NEAR(back.x, p.x, 1e-12);
    EXPECT_NEAR(back.y, p.y, 1e-12);
  }
}

TEST(InversionPoint, WorkedExamplesAndFixedPoints) {
  EXPECT_DOUBLE_EQ(invert_point(1, 0, 0, 0, 1).x, 1);
  EXPECT_DOUBLE_EQ(invert_point(3, 0, 0, 0, 1).x, third);
  // On the mirror (radius 5 about (1, 2)): the point stays, exactly.
  const Point on = invert_point(4, 6, 1, 2, 25);
  EXPECT_EQ(on.x, 4);
  EXPECT_EQ(on.y, 6);
  // The mirror centre has no image; the result is not finite, not a crash.
  const Point centre = invert_point(1, 2, 1, 2, 25);
  EXPECT_FALSE(std::isfinite(centre.x));
  EXPECT_FALSE(std::isfinite(centre.y));
}

TEST(InversionCircle, WorkedExamples) {
  const Circle outside = image_circle(0, 0, 1, 2, 0, 1);  // den 3, l = 1/3
  EXPECT_DOUBLE_EQ(outside.x, 2 * third);
  EXPECT_DOUBLE_EQ(outside.y, 0);
  EXPECT_DOUBLE_EQ(outside.r, third);
  // The images of the points 1 and 3 are the ends of the image's diameter.
  EXPECT_DOUBLE_EQ(outside.x + outside.r, 1);
  EXPECT_DOUBLE_EQ(outside.x - outside.r, invert_point(3, 0, 0, 0, 1).x);

  // Enclosing the mirror centre: den -0.75, l = -4/3, centre on the far side,
  // radius still positive.
  const Circle enclosing = image_circle(0, 0, 1, 0.5, 0, 1);
  EXPECT_DOUBLE_EQ(enclosing.x, -2 * third);
  EXPECT_DOUBLE_EQ(enclosing.y, 0);
  EXPECT_DOUBLE_EQ(enclosing.r, 4 * third);
}

TEST(InversionCircle, OrthogonalCircleMapsToItself) {
  // |d - c|^2 = R2 + rho^2: 1.5625 = 1 + 0.5625 and 6.25 = 4 + 2.25.
  const Circle a = image_circle(0, 0, 1, 1.25, 0, 0.75);
  EXPECT_DOUBLE_EQ(a.x, 1.25);
  EXPECT_DOUBLE_EQ(a.y, 0);
  EXPECT_DOUBLE_EQ(a.r, 0.75);
  const Circle b = image_circle(1, 2, 4, 2.5, 4, 1.5);
  EXPECT_DOUBLE_EQ(b.x, 2.5);
  EXPECT_DOUBLE_EQ(b.y, 4);
  EXPECT_DOUBLE_EQ(b.r, 1.5);
}

TEST(InversionCircle, ImageHoldsTheImagesOfThePoints) {
  // The image circle is the set of the inverted points of the circle, both
  // for a circle beside the mirror centre and for one around it.
  const double cases[][6] = {{1, -1, 2.5, 3, 2, 1.2}, {1, -1, 2.5, 1.5, -0.5, 3}};
  for (const auto& c : cases) {
    const Circle image = image_circle(c[0], c[1], c[2], c[3], c[4], c[5]);
    EXPECT_GT(image.r, 0);
    for (int i = 0; i < 12; ++i) {
      const double a = i * 0.5236;
      const Point q = invert_point(c[3] + c[5] * std::cos(a), c[4] + c[5] * std::sin(a), c[0],
                                   c[1], c[2]);
      EXPECT_NEAR(std::hypot(q.x - image.x, q.y - image.y), image.r, 1e-10) << i;
    }
  }
}

class InversionDrawingForm : public CanvasTest {
 protected:
  CircleStore<4> current_{};
  CircleStore<4> next_{};
  CircleGeneration generation_{current_.slots(), 0, next_.slots(), 0};
};

// Mirror (0, 0) with R2 = 1.75 - 3.5e-9 and circle (2, -2, 1): the image is
// centre (0.5 - 1e-9, -0.5 + 1e-9), radius 0.25 - 5e-10. As floats these
// round to 0.5, -0.5 and 0.25, which moves every pixel value by one.
constexpr double tight_R2 = 1.75 - 3.5e-9;

TEST_F(InversionDrawingForm, StoringFormKeepsFloatsAndFillsFromThem) {
  for (int k = 0; k < 4; ++k) next_.x[k] = next_.y[k] = next_.r[k] = -99;
  invert_circle(generation_, 2, 0, 0, tight_R2, 2, -2, 1, colour_red, soddy_frame);

  const Circle exact = image_circle(0, 0, tight_R2, 2, -2, 1);
  ASSERT_EQ(frame_column(soddy_frame, exact.x), 499);  // the doubles would give these
  ASSERT_EQ(frame_row(soddy_frame, exact.y), 399);
  ASSERT_EQ(frame_radius(soddy_frame, exact.r), 49);
  EXPECT_EQ(next_.x[2], static_cast<float>(exact.x));
  EXPECT_EQ(next_.y[2], static_cast<float>(exact.y));
  EXPECT_EQ(next_.r[2], static_cast<float>(exact.r));
  EXPECT_EQ(next_.x[2], 0.5f);
  EXPECT_EQ(next_.y[2], -0.5f);
  EXPECT_EQ(next_.r[2], 0.25f);
  // Only the given slot is written, and the count is the caller's to advance.
  for (int k : {0, 1, 3}) EXPECT_EQ(next_.x[k], -99) << k;
  EXPECT_EQ(generation_.n_next, 0);

  const auto drawn = changed_pixels(colour_white);
  EXPECT_EQ(count_pixels(colour_red), static_cast<int>(drawn.size()));
  EXPECT_EQ(drawn, drawn_alone([] { fill_disc(500, 400, 50, colour_red); }));
}

TEST_F(InversionDrawingForm, StoringFormStoresAPositiveRadius) {
  invert_circle(generation_, 0, 0, 0, 1, 0.5, 0, 1, colour_blue, soddy_frame);
  EXPECT_EQ(next_.x[0], static_cast<float>(-2 * third));
  EXPECT_EQ(next_.r[0], static_cast<float>(4 * third));
  // Centre column 266, radius 266: the disc reaches the left edge.
  EXPECT_EQ(get_pixel(0, 300), colour_blue);
  EXPECT_EQ(get_pixel(532, 300), colour_blue);
  EXPECT_EQ(get_pixel(533, 300), colour_white);
}

TEST_F(InversionDrawingForm, OutlineFormDrawsFromFullPrecision) {
  invert_circle(2, -2, 1, 0, 0, tight_R2, colour_green, soddy_frame);
  const auto drawn = changed_pixels(colour_white);
  EXPECT_EQ(count_pixels(colour_green), static_cast<int>(drawn.size()));
  EXPECT_EQ(drawn, drawn_alone([] { draw_circle(499, 399, 49, colour_green); }));

  // Around the mirror centre: centre column 266, radius 266, never negative.
  const auto enclosing = drawn_alone([] { invert_circle(0.5, 0, 1, 0, 0, 1, colour_green, soddy_frame); });
  EXPECT_EQ(enclosing, drawn_alone([] { draw_circle(266, 300, 266, colour_green); }));
}

TEST_F(InversionDrawingForm, CircleThroughTheMirrorCentreIsStoredButNotDrawn) {
  // den = 0: the image is a line; the slot still takes the (non-finite)
  // values, nothing is drawn by either form.
  for (int k = 0; k < 4; ++k) next_.x[k] = next_.y[k] = next_.r[k] = -99;
  invert_circle(generation_, 1, 0, 0, 1, 1, 0, 1, colour_red, soddy_frame);
  EXPECT_NE(next_.x[1], -99);
  EXPECT_FALSE(std::isfinite(next_.x[1]) && std::isfinite(next_.y[1]) && std::isfinite(next_.r[1]));
  EXPECT_EQ(next_.x[0], -99);
  EXPECT_EQ(next_.x[2], -99);
  invert_circle(0.75, 1, 1.25, 0, 0, 1, colour_red, soddy_frame);  // 0.5625 + 1 = 1.25^2
  EXPECT_TRUE(changed_pixels(colour_white).empty());
}
