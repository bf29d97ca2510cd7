// image_inversion as a whole: the test picture with its forward image, then
// the backward-mapped square beside it.
#include "outline_checks.h"
#include "shared_run.h"

namespace {

const ProgramRun& run() { return shared_run("image_inversion"); }

const Picture& forward() { return run().pictures.at(0); }
const Picture& backward() { return run().pictures.at(1); }

// The left-side pixel whose colour the backward scan pulls into (x, y): the
// pre-image under inversion in the circle about (0, -2) of radius 2.
PixelPosition pre_image(int x, int y, bool float_column) {
  double qx = (x - 450) / 150.0;
  if (float_column) qx = static_cast<float>(qx);
  const double qy = (150 - y) / 150.0;
  const double dy = qy + 2;
  const double m = qx * qx + dy * dy;
  return {static_cast<int>(150 + qx * 4 / m * 150),
          static_cast<int>(150 - (-2 + dy * 4 / m) * 150)};
}

// Target pixels of picture 2 that differ from what their pre-images give.
int backward_mismatches(bool float_column) {
  int mismatches = 0;
  for (int x = 302; x <= 599; ++x) {
    for (int y = 0; y <= 299; ++y) {
      const auto [sx, sy] = pre_image(x, y, float_column);
      std::uint32_t expected = rgb_white;
      if (sy > 150 && sy <= 599 && sx > 0 && sx <= 299) expected = forward().at(sx, sy);
      if (backward().at(x, y) != expected) ++mismatches;
    }
  }
  return mismatches;
}

}  // namespace

TEST(ImageInversion, UntouchedColumnsAndWhiteAreas) {
  int coloured_right_of_source = 0, changed_outside_square = 0, coloured_below_square = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const bool base_line_end = x == 300 && y == 150;
      coloured_right_of_source += x >= 300 && !base_line_end && forward().at(x, y) != rgb_white;
      changed_outside_square += (x < 302 || x > 599) && backward().at(x, y) != forward().at(x, y);
      coloured_below_square += y > 299 && backward().at(x, y) != rgb_white;
    }
  }
  EXPECT_EQ(coloured_right_of_source, 0);  // so columns 300, 301 and 600 on stay white
  EXPECT_EQ(changed_outside_square, 0);
  EXPECT_EQ(coloured_below_square, 0);
  EXPECT_EQ(forward().at(300, 150), rgb_black);  // the base line's end, never mapped
}

TEST(ImageInversion, TestPictureBandsOverlapInDrawingOrder) {
  // The centre lines (i = 0) of the bands cross there: yellow, drawn last,
  // lies over green and red, and green over red.
  EXPECT_EQ(forward().at(120, 90), rgb_yellow);  // yellow left arm, green right arm
  EXPECT_EQ(forward().at(180, 90), rgb_yellow);  // yellow right arm, red left arm
  EXPECT_EQ(forward().at(150, 30), rgb_green);   // green right arm, red left arm
}

TEST(ImageInversion, ForwardImageLiesBelowTheBaseLine) {
  for (const std::uint32_t colour : {rgb_black, rgb_red, rgb_green, rgb_yellow})
    for (const auto& [x, y] : pixels_of(forward(), colour)) {
      if (y > 151) {
        EXPECT_TRUE(x >= 8 && x <= 290 && y <= 290) << x << ", " << y;
      }
    }
  // The base line's ends (0, 150) and (299, 150) land at world (-0.941, -0.235)
  // and (0.936, -0.232): columns 8.8 and 290.3, rows 185.3 and 184.8, truncated.
  EXPECT_EQ(forward().at(8, 185), rgb_black);
  EXPECT_EQ(forward().at(9, 185), rgb_white);
  EXPECT_EQ(forward().at(290, 184), rgb_black);
  EXPECT_EQ(forward().at(290, 185), rgb_white);
}

TEST(ImageInversion, ForwardScanMapsItsOwnImagesAgain) {
  // The green band's outermost line ends at (5, 0) and the base line's images
  // start at column 8: these pixels are images read back by the scan and
  // mapped once more, near their sources.
  EXPECT_EQ(forward().at(4, 0), rgb_green);
  EXPECT_EQ(forward().at(4, 2), rgb_green);
  EXPECT_EQ(forward().at(0, 151), rgb_black);
}

TEST(ImageInversion, BackwardSquarePullsFromBelowTheBaseLine) {
  EXPECT_EQ(backward_mismatches(true), 0);
  // The world x kept as a float moves samples: as a double it would not match.
  EXPECT_GT(backward_mismatches(false), 0);
  for (const std::uint32_t colour : {rgb_black, rgb_red, rgb_green, rgb_yellow}) {
    int in_square = 0;
    for (const auto& [x, y] : pixels_of(backward(), colour)) in_square += x >= 302 && x <= 599;
    EXPECT_GT(in_square, 100) << std::hex << colour;
  }
}
