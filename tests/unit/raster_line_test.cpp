// draw_line: one position per step along the major axis, the minor coordinate
// truncated toward the start, every position clipped on its own.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "canvas_test.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

// The positions of the segment that lie in the window, in closed form: at step
// k along the major axis the minor coordinate has moved floor(k * minor / major).
PixelSet expected_segment(long x0, long y0, long x1, long y1) {
  const long adx = std::labs(x1 - x0);
  const long ady = std::labs(y1 - y0);
  const long sx = x1 > x0 ? 1 : -1;
  const long sy = y1 > y0 ? 1 : -1;
  const long major = std::max(adx, ady);
  PixelSet positions;
  for (long k = 0; k <= major; ++k) {
    const long x = x0 + sx * (adx == major ? k : k * adx / major);
    const long y = y0 + sy * (ady == major ? k : k * ady / major);
    if (x >= 0 && x <= 799 && y >= 0 && y <= 599) positions.insert({int(x), int(y)});
  }
  return positions;
}

class RasterLine : public CanvasTest {
 protected:
  PixelSet drawn() const {
    const auto changed = changed_pixels(colour_white);
    return {changed.begin(), changed.end()};
  }
  PixelSet draw(int x0, int y0, int x1, int y1) {
    SDL_FillRect(screen, nullptr, colour_white);
    draw_line(x0, y0, x1, y1, colour_black);
    return drawn();
  }
  // The row the segment occupies at each column from `first` to `last`.
  static std::vector<int> rows_by_column(const PixelSet& pixels, int first, int last) {
    std::vector<int> rows;
    for (int x = first; x <= last; ++x)
      for (const auto& [px, py] : pixels)
        if (px == x) rows.push_back(py);
    return rows;
  }
};

TEST_F(RasterLine, EqualEndsDrawOnePixel) {
  EXPECT_EQ(draw(7, 9, 7, 9), (PixelSet{{7, 9}}));
}

// With one value per call the order of the visits leaves no trace in memory;
// the direction of the walk shows in where the minor coordinate lags, below.
TEST_F(RasterLine, AxisSegmentsIncludeBothEnds) {
  EXPECT_EQ(draw(5, 5, 2, 5), (PixelSet{{2, 5}, {3, 5}, {4, 5}, {5, 5}}));
  EXPECT_EQ(draw(3, 10, 3, 7), (PixelSet{{3, 7}, {3, 8}, {3, 9}, {3, 10}}));
  EXPECT_EQ(draw(0, 0, 799, 0).size(), 800u);
}

TEST_F(RasterLine, VisitsMaxExtentPlusOnePositionsEndingAtTheEnd) {
  const int ends[][4] = {{100, 100, 160, 117}, {100, 100, 117, 160}, {300, 200, 250, 290},
                         {300, 200, 209, 170}, {500, 500, 501, 300}, {20, 30, 45, 55}};
  for (const auto& e : ends) {
    const PixelSet pixels = draw(e[0], e[1], e[2], e[3]);
    const size_t major = std::max(std::abs(e[2] - e[0]), std::abs(e[3] - e[1]));
    EXPECT_EQ(pixels.size(), major + 1) << e[0] << "," << e[1] << " -> " << e[2] << "," << e[3];
    EXPECT_TRUE(pixels.count({e[0], e[1]}) && pixels.count({e[2], e[3]}));
  }
}

TEST_F(RasterLine, MinorCoordinateLagsTowardTheStart) {
  EXPECT_EQ(rows_by_column(draw(0, 0, 10, 1), 0, 10),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(rows_by_column(draw(0, 0, 10, 3), 0, 10),
            (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3}));
  // Reversed, the lag is toward the other end, so the pixel set differs.
  const PixelSet forward = draw(0, 0, 10, 3);
  const PixelSet backward = draw(10, 3, 0, 0);
  EXPECT_EQ(rows_by_column(backward, 0, 10), (std::vector<int>{0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3}));
  EXPECT_NE(forward, backward);
}

TEST_F(RasterLine, EveryOctantFollowsTheTruncatedFraction) {
  const int steps[][2] = {{37, 11}, {11, 37}, {-37, 11}, {-11, 37}, {37, -11}, {11, -37},
                          {-37, -11}, {-11, -37}, {25, 25}, {-25, 25}, {25, -25}, {-25, -25},
                          {30, 0}, {-30, 0}, {0, 30}, {0, -30}, {200, 3}, {3, -200}};
  for (const auto& s : steps)
    EXPECT_EQ(draw(400, 300, 400 + s[0], 300 + s[1]),
              expected_segment(400, 300, 400 + s[0], 300 + s[1]))
        << "step " << s[0] << "," << s[1];
}

TEST_F(RasterLine, ClippingSkipsPositionsWithoutChangingTheWalk) {
  EXPECT_EQ(draw(0, 0, 3, -3), (PixelSet{{0, 0}}));
  PixelSet column;
  for (int y = 0; y < 600; ++y) column.insert({400, y});
  EXPECT_EQ(draw(400, -300, 400, 600), column);

  // A segment that fits once shifted shows, unshifted, its in-window part.
  const int cases[][6] = {// x0, y0, x1, y1, shift x, shift y
                          {-200, 100, 300, 400, 200, 0},   {500, -250, 650, 349, 0, 250},
                          {700, 500, 900, 650, -200, -100}, {850, -40, 100, 559, -100, 40}};
  for (const auto& c : cases) {
    const PixelSet shifted = draw(c[0] + c[4], c[1] + c[5], c[2] + c[4], c[3] + c[5]);
    PixelSet expected;
    for (const auto& [x, y] : shifted)
      if (x - c[4] >= 0 && x - c[4] <= 799 && y - c[5] >= 0 && y - c[5] <= 599)
        expected.insert({x - c[4], y - c[5]});
    EXPECT_EQ(draw(c[0], c[1], c[2], c[3]), expected) << c[0] << "," << c[1];
  }
}

TEST_F(RasterLine, FarOutsideSegmentsShowExactlyTheirInsidePart) {
  const int ends[][4] = {{-100000, -75123, 100900, 75500},
                         {-50000, -400000, 50800, 400600},
                         {1000000, 300, -1000000, 300},
                         {900, 1000, -1700, -2000}};
  for (const auto& e : ends) {
    const PixelSet expected = expected_segment(e[0], e[1], e[2], e[3]);
    EXPECT_GT(expected.size(), 100u);  // the segment does cross the window
    EXPECT_EQ(draw(e[0], e[1], e[2], e[3]), expected) << e[0] << "," << e[1];
  }
}

}  // namespace
