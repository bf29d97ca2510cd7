// draw_circle and fill_disc inside the window: the outline's shape and size,
// ties toward the centre row, and the disc as the outline's rows filled in.
#include <cmath>
#include <numbers>
#include <set>
#include <utility>

#include "canvas_test.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;
using CircleRoutine = void (*)(int, int, int, Uint32);

// The offsets (dx, dy) given, in all four sign combinations, about (cx, cy).
PixelSet mirrored(int cx, int cy, std::initializer_list<std::pair<int, int>> offsets) {
  PixelSet positions;
  for (const auto& [dx, dy] : offsets)
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) positions.insert({cx + sx * dx, cy + sy * dy});
  return positions;
}

class CircleCanvas : public CanvasTest {
 protected:
  PixelSet draw(CircleRoutine routine, int cx, int cy, int r) {
    SDL_FillRect(screen, nullptr, colour_white);
    routine(cx, cy, r, colour_black);
    const auto changed = changed_pixels(colour_white);
    return {changed.begin(), changed.end()};
  }
};

class RasterCircle : public CircleCanvas {};
class RasterDisc : public CircleCanvas {};

TEST_F(RasterCircle, SmallRadiiForBothRoutines) {
  for (CircleRoutine routine : std::initializer_list<CircleRoutine>{draw_circle, fill_disc}) {
    EXPECT_EQ(draw(routine, 400, 300, 0), (PixelSet{{400, 300}}));
    EXPECT_EQ(draw(routine, 400, 300, 1), mirrored(400, 300, {{0, 0}, {1, 0}, {0, 1}}));
  }
  EXPECT_EQ(draw(draw_circle, 400, 300, 2),
            mirrored(400, 300, {{2, 0}, {0, 2}, {1, 2}, {2, 1}, {1, 1}}));
}

TEST_F(RasterCircle, TiesStepTowardTheCentreRow) {
  // For r = 3 the walk ties at (1, 3) and at (2, 2); both times it moves to
  // the row nearer the centre, never out to (2, 3) or (3, 2).
  EXPECT_EQ(draw(draw_circle, 400, 300, 3),
            mirrored(400, 300, {{0, 3}, {1, 3}, {1, 2}, {2, 2}, {2, 1}, {3, 1}, {3, 0}}));
}

TEST_F(RasterCircle, OutlineHasEightRPixelsFromRadiusTwo) {
  for (int r : {2, 3, 4, 5, 7, 10, 13, 20, 33, 50, 64, 99, 100, 101, 150, 250, 299})
    EXPECT_EQ(draw(draw_circle, 400, 300, r).size(), 8u * r) << "r = " << r;
}

TEST_F(RasterCircle, OutlineIsOneClosedFourConnectedRingNearTheCircle) {
  const int cx = 400;
  const int cy = 300;
  for (int r = 2; r <= 80; ++r) {
    const PixelSet ring = draw(draw_circle, cx, cy, r);
    for (const auto& [x, y] : ring) {
      const int neighbours = int(ring.count({x + 1, y}) + ring.count({x - 1, y}) +
                                 ring.count({x, y + 1}) + ring.count({x, y - 1}));
      ASSERT_EQ(neighbours, 2) << "r = " << r << " at " << x - cx << "," << y - cy;
      EXPECT_LT(std::fabs(std::hypot(x - cx, y - cy) - r), 1.0) << "r = " << r;
      EXPECT_TRUE(ring.count({2 * cx - x, y}) && ring.count({x, 2 * cy - y})) << "r = " << r;
    }
    // Two neighbours each: follow them from the top and come back after every pixel.
    std::pair<int, int> previous{cx - 1, cy - r};
    std::pair<int, int> current{cx, cy - r};
    size_t length = 0;
    do {
      const auto [x, y] = current;
      const std::pair<int, int> around[] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
      for (const auto& next : around)
        if (next != previous && ring.count(next)) {
          previous = current;
          current = next;
          break;
        }
      ++length;
    } while (current != std::pair{cx, cy - r} && length <= ring.size());
    EXPECT_EQ(length, ring.size()) << "r = " << r;
  }
}

TEST_F(RasterCircle, NegativeRadiusDrawsOnlyTheFourAxisPositions) {
  for (CircleRoutine routine : std::initializer_list<CircleRoutine>{draw_circle, fill_disc}) {
    EXPECT_EQ(draw(routine, 400, 300, -5), mirrored(400, 300, {{0, 5}, {5, 0}}));
    EXPECT_TRUE(draw(routine, 400, 300, -700).empty());  // all four lie outside
  }
}

TEST_F(RasterCircle, DrawingTwiceChangesNothing) {
  for (CircleRoutine routine : std::initializer_list<CircleRoutine>{draw_circle, fill_disc}) {
    SDL_FillRect(screen, nullptr, colour_white);
    routine(780, 40, 77, colour_green);
    const auto once = changed_pixels(colour_white);
    routine(780, 40, 77, colour_green);
    EXPECT_EQ(changed_pixels(colour_white), once);
  }
}

TEST_F(RasterDisc, FillsEachRowBetweenTheOutlinesOuterPixels) {
  for (int r : {0, 1, 2, 3, 4, 5, 6, 9, 12, 17, 25, 40, 63, 80, 150, 299}) {
    PixelSet expected;
    for (const auto& [x, y] : draw(draw_circle, 400, 300, r))
      for (int column = 400 - (x - 400); column <= x; ++column) expected.insert({column, y});
    const PixelSet disc = draw(fill_disc, 400, 300, r);
    EXPECT_EQ(disc, expected) << "r = " << r;
    // Its area lies between those of the true discs of radius r and r + 1.
    EXPECT_GE(double(disc.size()), std::numbers::pi * r * r) << "r = " << r;
    EXPECT_LE(double(disc.size()), std::numbers::pi * (r + 1) * (r + 1)) << "r = " << r;
  }
}

TEST_F(RasterDisc, OutlineDrawnOverTheDiscKeepsItsOwnColour) {
  const PixelSet outline = draw(draw_circle, 300, 200, 40);
  const PixelSet disc = draw(fill_disc, 300, 200, 40);
  fill_disc(300, 200, 40, colour_red);
  draw_circle(300, 200, 40, colour_blue);
  PixelSet blue;
  for (const auto& [x, y] : changed_pixels(colour_white))
    if (get_pixel(x, y) == colour_blue) blue.insert({x, y});
  EXPECT_EQ(blue, outline);
  EXPECT_EQ(count_pixels(colour_red), int(disc.size() - outline.size()));
}

}  // namespace

// A stamp puts down exactly what draw_circle does, inside the window, on
// its edges and beyond them.
TEST_F(RasterCircle, StampsDrawWhatDrawCircleDraws) {
  const int positions[][2] = {{400, 300}, {0, 0}, {1, 599}, {799, 1}, {798, 598}, {-1, 300}, {400, 601},
                              {-3, -3}, {802, 300}, {2, 2}};
  for (int r = 0; r <= max_stamp_radius; ++r) {
    const CircleStamp stamp = circle_stamp(r);
    for (const auto& [x, y] : positions) {
      EXPECT_EQ(drawn_alone([&] { draw_stamp(stamp, x, y, colour_red); }),
                drawn_alone([&] { draw_circle(x, y, r, colour_red); }))
          << "r " << r << " at (" << x << ", " << y << ")";
    }
  }
}
