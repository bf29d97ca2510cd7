// spoke_inversion as a whole: mirror, red wheel, computed image circle and the
// pixel-by-pixel blue image of every red pixel.
#include <algorithm>
#include <cmath>
#include <set>

#include "outline_checks.h"
#include "shared_run.h"

namespace {

constexpr std::uint32_t rgb_full_blue = 0x0000FF;  // this program's blue

const ProgramRun& run() { return shared_run("spoke_inversion"); }

const Picture& picture() { return run().pictures.at(0); }

}  // namespace

TEST(SpokeInversion, MirrorWheelAndSpokes) {
  expect_outline(picture(), 200, 300, 2, rgb_black);
  expect_outline(picture(), 200, 300, 158, rgb_black);
  expect_outline(picture(), 580, 300, 200, rgb_red);
  expect_outline(picture(), 580, 300, 201, rgb_red);
  // Spokes 0 and 10 along row 300, 5 and 15 along column 580, rim to rim.
  for (int x = 379; x <= 781; ++x) EXPECT_EQ(picture().at(x, 300), rgb_red) << x;
  for (int y = 99; y <= 501; ++y) EXPECT_EQ(picture().at(580, y), rgb_red) << y;
  for (const auto& [x, y] : pixels_of(picture(), rgb_red))
    EXPECT_TRUE(x >= 379 && x <= 781 && y >= 99 && y <= 501) << x << ", " << y;
  // Spoke 4 ends at (641.80, 109.79) truncated: 61 columns over 191 rows, so
  // row 200 (step 100) lies floor(100 * 61 / 191) = 31 columns right of the hub.
  EXPECT_EQ(picture().at(611, 200), rgb_red);
  EXPECT_EQ(picture().at(612, 200), rgb_white);
}

TEST(SpokeInversion, BlueIsTheImageOfEveryRedPixel) {
  std::set<PixelPosition> images;
  for (const auto& [x, y] : pixels_of(picture(), rgb_red)) {
    const double px = (x - 200) / 200.0, py = (300 - y) / 200.0;
    const double f = px * px + py * py;
    images.insert({static_cast<int>(px * 0.63 / f * 200 + 200),
                   static_cast<int>(300 - py * 0.63 / f * 200)});
  }
  const auto blue = pixels_of(picture(), rgb_full_blue);
  EXPECT_EQ(std::set<PixelPosition>(blue.begin(), blue.end()), images);
  EXPECT_TRUE(pixels_of(picture(), rgb_blue).empty());  // (0, 0, 255), not 250
}

TEST(SpokeInversion, BlueImageLiesOnTheBlackImageCircle) {
  // invert_circle draws the rim's image (centre column 291.72, radius 48.28)
  // at (291, 300) radius 48; blue replaces its black where they meet.
  for (const auto& [x, y] : {PixelPosition{339, 300}, {243, 300}, {291, 348}, {291, 252}}) {
    const std::uint32_t c = picture().at(x, y);
    EXPECT_TRUE(c == rgb_black || c == rgb_full_blue) << x << ", " << y;
  }
  // Every blue pixel lies in the black circle's disc, give or take the rim's
  // second pixel and the truncation; the blue rim reaches its edge all round.
  int left = 800, right = 0, top = 600, bottom = 0;
  for (const auto& [x, y] : pixels_of(picture(), rgb_full_blue)) {
    EXPECT_LE(std::hypot(x - 291, y - 300), 48 + 2.5) << x << ", " << y;
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
  }
  EXPECT_EQ(left, 243);
  EXPECT_EQ(right, 340);
  EXPECT_EQ(top, 251);
  EXPECT_EQ(bottom, 348);
}

TEST(SpokeInversion, SpokeArcsMeetAtTheImageOfTheHub) {
  // The hub (1.9, 0) maps to 0.63 / 1.9 = 0.3316: column 266.3.
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx)
      EXPECT_EQ(picture().at(266 + dx, 300 + dy), rgb_full_blue) << dx << ", " << dy;
  // Spokes 0 and 10 lie on a line through the mirror centre: their images
  // run along row 300 from the rim's image on one side to the other.
  for (int x = 243; x <= 340; ++x) EXPECT_EQ(picture().at(x, 300), rgb_full_blue) << x;
}
