// two_circle_iteration as a whole: four pictures on one canvas, no random
// numbers, the alternating orbit on the two limiting points and three
// generations of nested discs at their known pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "run_program.h"
#include "shared_run.h"

namespace {

const ProgramRun& keys_run() { return shared_run("two_circle_iteration"); }

// The radius-2 outline: 16 pixels around an unmarked centre.
std::set<std::pair<int, int>> ring_of_radius_2(int cx, int cy) {
  std::set<std::pair<int, int>> ring;
  const int offsets[][2] = {{2, 0}, {2, 1}, {2, -1}, {1, 1}, {1, -1}, {1, 2}, {1, -2}, {0, 2}};
  for (const auto& o : offsets) {
    ring.insert({cx + o[0], cy + o[1]});
    ring.insert({cx - o[0], cy - o[1]});
  }
  return ring;
}

// A disc drawn last with `inside`: its centre and its four extreme pixels
// at distance r along the row and the column have that colour, the pixels
// one further out do not.
void expect_disc(const Picture& picture, int cx, int cy, int r, std::uint32_t inside) {
  EXPECT_EQ(picture.at(cx, cy), inside) << "centre (" << cx << ", " << cy << ")";
  const int directions[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (const auto& d : directions) {
    EXPECT_EQ(picture.at(cx + d[0] * r, cy + d[1] * r), inside)
        << "disc (" << cx << ", " << cy << ", " << r << ") edge toward " << d[0] << "," << d[1];
    EXPECT_NE(picture.at(cx + d[0] * (r + 1), cy + d[1] * (r + 1)), inside)
        << "disc (" << cx << ", " << cy << ", " << r << ") one past the edge toward " << d[0]
        << "," << d[1];
  }
}

// Pixels whose colour differs between two pictures.
std::vector<std::pair<int, int>> changed(const Picture& before, const Picture& after) {
  std::vector<std::pair<int, int>> pixels;
  for (int y = 0; y < after.height; ++y)
    for (int x = 0; x < after.width; ++x)
      if (before.at(x, y) != after.at(x, y)) pixels.push_back({x, y});
  return pixels;
}

TEST(TwoCircleIteration, OrbitLandsOnTheLimitingPointsAfterTheBurnIn) {
  ASSERT_EQ(keys_run().pictures.size(), 4u);
  const Picture& picture = keys_run().pictures[0];

  // The two outlines: circle 0 tops out at row 360, circle 1 bottoms out at row 340.
  EXPECT_EQ(picture.at(400, 360), rgb_black);
  EXPECT_EQ(picture.at(400, 359), rgb_white);
  EXPECT_EQ(picture.at(400, 340), rgb_black);
  EXPECT_EQ(picture.at(400, 341), rgb_white);
  EXPECT_EQ(pixels_of(picture, rgb_white).size() + pixels_of(picture, rgb_black).size(),
            800u * 600u);

  // Off the two outlines, the only marks are the rings at the two limiting
  // points; an unsettled step plotted too early would leave a ring elsewhere,
  // e.g. at (400, 261) for step 9 or at (425, 557) for step 0.
  std::set<std::pair<int, int>> expected = ring_of_radius_2(400, 262);
  for (const auto& p : ring_of_radius_2(400, 429)) expected.insert(p);
  std::set<std::pair<int, int>> marks;
  for (const auto& [x, y] : pixels_of(picture, rgb_black)) {
    const bool on_circle_0 = std::abs(std::hypot(x - 400.0, y - 600.0) - 240.0) < 1.5;
    const bool on_circle_1 = std::abs(std::hypot(x - 400.0, y + 240.0) - 580.0) < 1.5;
    if (!on_circle_0 && !on_circle_1) marks.insert({x, y});
  }
  EXPECT_EQ(marks, expected);
}

TEST(TwoCircleIteration, GenerationsNestAtTheirPixels) {
  const std::vector<Picture>& pictures = keys_run().pictures;
  ASSERT_EQ(pictures.size(), 4u);

  // Picture 2: blue discs over the outlines, black generation 1 inside them.
  expect_disc(pictures[1], 400, 468, 90, rgb_black);   // circle 1 in circle 0
  expect_disc(pictures[1], 400, 196, 124, rgb_black);  // circle 0 in circle 1
  EXPECT_EQ(pictures[1].at(400, 468 + 91), rgb_blue);
  EXPECT_EQ(pictures[1].at(400, 196 - 125), rgb_blue);
  for (const auto& [x, y] : changed(pictures[0], pictures[1]))
    EXPECT_TRUE(pictures[1].at(x, y) == rgb_blue || pictures[1].at(x, y) == rgb_black)
        << "(" << x << ", " << y << ")";

  // Picture 3: red generation 2 drawn over picture 2, nothing else changed.
  expect_disc(pictures[2], 400, 431, 17, rgb_red);
  expect_disc(pictures[2], 400, 259, 21, rgb_red);
  const auto reds = changed(pictures[1], pictures[2]);
  EXPECT_FALSE(reds.empty());
  for (const auto& [x, y] : reds) EXPECT_EQ(pictures[2].at(x, y), rgb_red);

  // Picture 4: generation 3 has pixel radius 0 and is still drawn: exactly
  // its two centre pixels change.
  expect_disc(pictures[3], 400, 429, 0, rgb_black);
  expect_disc(pictures[3], 400, 262, 0, rgb_black);
  const std::vector<std::pair<int, int>> last = changed(pictures[2], pictures[3]);
  const std::vector<std::pair<int, int>> centres = {{400, 262}, {400, 429}};
  EXPECT_EQ(last, centres);
}

}  // namespace
