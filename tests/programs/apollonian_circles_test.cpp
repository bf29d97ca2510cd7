// apollonian_circles as a whole: the 24 black Apollonius circles of A and B
// with the bisector, the 12 red circles through A and B with the line AB.
#include "outline_checks.h"
#include "shared_run.h"

namespace {

const ProgramRun& run() { return shared_run("apollonian_circles"); }

const Picture& picture() { return run().pictures.at(0); }

struct BlackPair {
  int column_k, column_reciprocal, radius;
};

// k = 0.08, 0.15, ..., 0.85: centre columns for k and 1 / k, shared radius.
constexpr BlackPair black_pairs[12] = {
    {399, 450, 4},  {398, 451, 7},  {397, 452, 11}, {395, 454, 15},
    {392, 457, 20}, {388, 461, 26}, {383, 466, 33}, {375, 474, 42},
    {365, 484, 54}, {349, 500, 71}, {322, 527, 99}, {269, 580, 153}};

struct RedPair {
  int upper_row, lower_row, radius;
};

// e = 0, 0.5, ..., 2.5, all centred on column 425.
constexpr RedPair red_pairs[6] = {{300, 300, 25},  {275, 325, 35},  {250, 350, 55},
                                  {225, 375, 79},  {200, 400, 103}, {175, 425, 127}};

}  // namespace

TEST(ApollonianCircles, TwentyFourBlackCirclesAtTabledCentresAndRadii) {
  for (const BlackPair& pair : black_pairs) {
    // Their points on row 300 lie under the red line AB; the top and bottom
    // points of 0.08's partner and of 0.78 lie under red circles e = 0 and 2.
    for (int column : {pair.column_k, pair.column_reciprocal}) {
      if ((column == 450 && pair.radius == 4) || column == 322) continue;
      for (int row : {300 - pair.radius, 300 + pair.radius})
        EXPECT_EQ(picture().at(column, row), rgb_black) << column << ", " << row;
    }
    if (pair.radius < 7) continue;  // the marks of A and B cover the smallest pair
    // The outer side of each: (cx - r, 300 +- 1) left of A, (cx + r, ...) right of B.
    for (int row : {299, 301}) {
      EXPECT_EQ(picture().at(pair.column_k - pair.radius, row), rgb_black) << pair.radius;
      EXPECT_EQ(picture().at(pair.column_reciprocal + pair.radius, row), rgb_black) << pair.radius;
    }
  }
}

TEST(ApollonianCircles, TwelveRedCirclesThroughAAndB) {
  for (const RedPair& pair : red_pairs) {
    EXPECT_EQ(expect_outline(picture(), 425, pair.upper_row, pair.radius, rgb_red), 4);
    expect_outline(picture(), 425, pair.lower_row, pair.radius, rgb_red);
  }
}

TEST(ApollonianCircles, BisectorAndLineAB) {
  for (int y = 100; y <= 500; ++y) {
    const std::uint32_t c = picture().at(425, y);
    EXPECT_TRUE(c == rgb_black || c == rgb_red) << y;  // red where a red circle crosses
  }
  EXPECT_NE(picture().at(425, 99), rgb_black);
  EXPECT_NE(picture().at(425, 501), rgb_black);
  for (int x = 75; x <= 775; ++x) EXPECT_EQ(picture().at(x, 300), rgb_red) << x;
  EXPECT_EQ(picture().at(74, 300), rgb_white);
  EXPECT_EQ(picture().at(776, 300), rgb_white);
}

TEST(ApollonianCircles, LoopsStopAfterTwelveAndSixPasses) {
  // A 13th ratio (0.92, radius 299 about column 124) or a 7th offset (e = 3,
  // radius 152 about rows 150 and 450) would leave the figures' bounds.
  for (const auto& [x, y] : pixels_of(picture(), rgb_black))
    EXPECT_TRUE(x == 425 || (x >= 116 && x <= 733 && y >= 147 && y <= 453)) << x << ", " << y;
  for (const auto& [x, y] : pixels_of(picture(), rgb_red))
    EXPECT_TRUE(y == 300 || (x >= 298 && x <= 552 && y >= 48 && y <= 552)) << x << ", " << y;
}
