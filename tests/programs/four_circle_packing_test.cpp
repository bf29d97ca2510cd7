// four_circle_packing as a whole: five pictures, the three generation sizes
// on standard output, colours from a table that never changes, and a walk
// whose unclipped pixels stay well inside the window.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "run_program.h"
#include "shared_run.h"

namespace {

constexpr long clock_a = 1700000000;
constexpr long clock_b = 1700003601;

const ProgramRun& run_at(long clock) { return shared_run("four_circle_packing", clock); }

std::set<std::uint32_t> colours_of(const Picture& picture) {
  return std::set<std::uint32_t>(picture.rgb.begin(), picture.rgb.end());
}

// The colours the C library's unseeded sequence (the one srand(1) gives)
// makes: three draws per entry, low 8 bits, blue first, then green, red.
const std::set<std::uint32_t>& unseeded_colours() {
  static const std::set<std::uint32_t> table = [] {
    std::set<std::uint32_t> colours;
    std::srand(1);
    for (int k = 0; k < 10000; ++k) {
      const std::uint32_t blue = std::rand() & 0xFF;
      const std::uint32_t green = std::rand() & 0xFF;
      const std::uint32_t red = std::rand() & 0xFF;
      colours.insert(red << 16 | green << 8 | blue);
    }
    return colours;
  }();
  return table;
}

struct Disc {
  int cx, cy, r;
};

// The base circles on screen (column, row, radius).
const Disc base[4] = {{380, 173, 93}, {58, 150, 230}, {773, 104, 305}, {380, 725, 428}};

bool in_window(int x, int y) { return x >= 0 && x < 800 && y >= 0 && y < 600; }

TEST(FourCirclePacking, BaseDiscsAndThirdGenerationDoNotDependOnTheClock) {
  ASSERT_EQ(run_at(clock_a).pictures.size(), 5u);
  ASSERT_EQ(run_at(clock_b).pictures.size(), 5u);
  const Picture& discs = run_at(clock_a).pictures[0];
  EXPECT_TRUE(same_picture(discs, run_at(clock_b).pictures[0]));
  EXPECT_TRUE(same_picture(run_at(clock_a).pictures[3], run_at(clock_b).pictures[3]));

  const std::set<std::uint32_t> black_and_white = {rgb_white, rgb_black};
  EXPECT_EQ(colours_of(discs), black_and_white);
  EXPECT_EQ(colours_of(run_at(clock_a).pictures[3]), black_and_white);

  // Each disc is black out to its pixel radius along its row and column and
  // white one pixel further, unless another base disc covers that pixel
  // (0 and 1 overlap). Radii 305 and 428 are truncated from 305.9 and 428.95.
  for (const Disc& d : base) {
    const int directions[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& dir : directions) {
      const int x = d.cx + dir[0] * d.r, y = d.cy + dir[1] * d.r;
      if (in_window(x, y)) {
        EXPECT_EQ(discs.at(x, y), rgb_black) << x << ", " << y;
      }
      const int xo = x + dir[0], yo = y + dir[1];
      bool covered = false;
      for (const Disc& other : base)
        if (&other != &d && std::hypot(xo - other.cx, yo - other.cy) <= other.r) covered = true;
      if (in_window(xo, yo) && !covered) {
        EXPECT_EQ(discs.at(xo, yo), rgb_white) << xo << ", " << yo;
      }
    }
  }
}

TEST(FourCirclePacking, GenerationsOneAndTwoPaintTableColoursOverThePictureBefore) {
  for (const long clock : {clock_a, clock_b}) {
    SCOPED_TRACE(clock);
    const std::vector<Picture>& pictures = run_at(clock).pictures;
    ASSERT_EQ(pictures.size(), 5u);
    for (int k = 1; k <= 2; ++k) {
      std::set<std::uint32_t> drawn = colours_of(pictures[k]);
      drawn.erase(rgb_white);
      drawn.erase(rgb_black);
      for (const std::uint32_t colour : drawn)
        EXPECT_TRUE(unseeded_colours().count(colour)) << "picture " << k + 1 << std::hex << colour;
      // One random colour per image: 12 images, then 144 in all.
      EXPECT_GE(drawn.size(), k == 1 ? 10u : 120u);
      EXPECT_LE(drawn.size(), k == 1 ? 12u : 144u);
      // No clear: every white pixel was already white in the picture before.
      for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
          if (pictures[k].at(x, y) == rgb_white) {
            ASSERT_EQ(pictures[k - 1].at(x, y), rgb_white)
                << "picture " << k + 1 << " (" << x << ", " << y << ")";
          }
    }
  }
  EXPECT_FALSE(same_picture(run_at(clock_a).pictures[1], run_at(clock_b).pictures[1]));
  EXPECT_FALSE(same_picture(run_at(clock_a).pictures[2], run_at(clock_b).pictures[2]));
}

TEST(FourCirclePacking, WalkStaysInsideItsRegionOnAWhiteCanvas) {
  for (const long clock : {clock_a, clock_b}) {
    SCOPED_TRACE(clock);
    ASSERT_EQ(run_at(clock).pictures.size(), 5u);
    const Picture& walk = run_at(clock).pictures[4];
    const std::set<std::uint32_t> black_and_white = {rgb_white, rgb_black};
    EXPECT_EQ(colours_of(walk), black_and_white);
    const auto dots = pixels_of(walk, rgb_black);
    EXPECT_GT(dots.size(), 1000u);
    for (const auto& [x, y] : dots)
      EXPECT_TRUE(x >= 135 && x <= 655 && y >= 105 && y <= 475) << "(" << x << ", " << y << ")";
    // Single pixels on a thin curve, nothing left of the third generation's
    // filled discs: no 3 x 3 block is all black.
    for (const auto& [x, y] : dots) {
      int black = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) black += walk.at(x + dx, y + dy) == rgb_black;
      ASSERT_LT(black, 9) << "(" << x << ", " << y << ")";
    }
  }
}

}  // namespace
