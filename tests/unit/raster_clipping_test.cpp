// Clipping and addressing checked against memory around the window: the
// 800 x 600 pixels sit inside a larger block with spare words after every row
// and guard rows above and below, so a position that escaped the window test,
// or a row stepped by the wrong stride, lands somewhere it can be seen.
#include <climits>
#include <set>
#include <utility>
#include <vector>

#include "canvas_test.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;
using CircleRoutine = void (*)(int, int, int, Uint32);

constexpr int padding = 8;  // spare words after each row
constexpr int guard_rows = 32;
constexpr int stride = window_width + padding;
constexpr Uint32 sentinel = 0xA55A5AA5;  // the mapped colours leave the top byte 0

class GuardedCanvas : public CanvasTest {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    window_surface_ = screen;
    screen = SDL_CreateRGBSurfaceFrom(memory_.data() + guard_rows * stride, window_width,
                                      window_height, 32, stride * 4, 0x00FF0000, 0x0000FF00,
                                      0x000000FF, 0);
    ASSERT_NE(screen, nullptr) << SDL_GetError();
    SDL_FillRect(screen, nullptr, colour_white);
  }
  void TearDown() override {
    SDL_FreeSurface(screen);
    screen = window_surface_;
    CanvasTest::TearDown();
  }

  Uint32 word(int x, int y) const { return memory_[(guard_rows + y) * stride + x]; }

  // Words outside the 800 x 600 pixels that no longer hold the sentinel.
  int damaged_guard_words() const {
    int damaged = 0;
    for (int row = -guard_rows; row < window_height + guard_rows; ++row)
      for (int column = 0; column < stride; ++column) {
        const bool inside = row >= 0 && row < window_height && column < window_width;
        if (!inside && word(column, row) != sentinel) ++damaged;
      }
    return damaged;
  }

  PixelSet drawn() const {
    const auto changed = changed_pixels(colour_white);
    return {changed.begin(), changed.end()};
  }

 private:
  std::vector<Uint32> memory_ =
      std::vector<Uint32>(size_t(stride) * (window_height + 2 * guard_rows), sentinel);
  SDL_Surface* window_surface_ = nullptr;
};

class RasterPixelsPadded : public GuardedCanvas {};
class RasterClipping : public GuardedCanvas {};

TEST_F(RasterPixelsPadded, RowsAreSteppedByPitchAndPaddingStaysUntouched) {
  for (int y = 0; y < window_height - 1; y += 37) {
    // The last pixel of a row and the first of the next, one padding apart.
    put_pixel(799, y, colour_red);
    put_pixel(0, y + 1, colour_blue);
    EXPECT_EQ(word(799, y), colour_red);
    EXPECT_EQ(word(0, y + 1), colour_blue);
    EXPECT_EQ(get_pixel(799, y), colour_red);
    EXPECT_EQ(get_pixel(0, y + 1), colour_blue);
  }
  EXPECT_EQ(count_pixels(colour_red), 17);
  EXPECT_EQ(damaged_guard_words(), 0);
}

TEST_F(RasterPixelsPadded, RasterisersNeverWriteIntoThePadding) {
  draw_line(-10, 300, 900, 300, colour_black);
  fill_disc(790, 100, 50, colour_black);
  draw_circle(5, 500, 40, colour_black);
  fill_disc(400, 300, 500, colour_red);  // covers the whole window
  EXPECT_EQ(count_pixels(colour_red), window_width * window_height);
  EXPECT_EQ(damaged_guard_words(), 0);
}

// Circles that cross an edge or a corner, or whose centre lies outside, show
// exactly the in-window part of the same circle drawn at the window centre.
TEST_F(RasterClipping, CirclesCrossingAnEdgeAreCutThereWithoutWrapping) {
  const int circles[][3] = {{0, 300, 60},   {799, 300, 60}, {400, 0, 60},    {400, 599, 60},
                            {10, 590, 90},  {795, 4, 90},   {-50, 300, 100}, {300, 650, 120},
                            {850, 620, 99}, {-30, -40, 80}};
  for (CircleRoutine routine : std::initializer_list<CircleRoutine>{draw_circle, fill_disc})
    for (const auto& c : circles) {
      SDL_FillRect(screen, nullptr, colour_white);
      routine(400, 300, c[2], colour_black);
      PixelSet expected;
      for (const auto& [x, y] : drawn()) {
        const int sx = x - 400 + c[0];
        const int sy = y - 300 + c[1];
        if (sx >= 0 && sx <= 799 && sy >= 0 && sy <= 599) expected.insert({sx, sy});
      }
      ASSERT_FALSE(expected.empty());
      SDL_FillRect(screen, nullptr, colour_white);
      routine(c[0], c[1], c[2], colour_black);
      EXPECT_EQ(drawn(), expected) << c[0] << "," << c[1] << " r " << c[2];
      EXPECT_EQ(damaged_guard_words(), 0);
    }
}

TEST_F(RasterClipping, ShapesWhollyOutsideDrawNothing) {
  const int circles[][3] = {{-200, 300, 100}, {1000, 300, 150}, {400, -500, 100},
                            {400, 1200, 500}, {-5000, -5000, 1000}, {-1, -1, 0}, {800, 600, 0}};
  for (const auto& c : circles) {
    draw_circle(c[0], c[1], c[2], colour_black);
    fill_disc(c[0], c[1], c[2], colour_black);
  }
  // An outline around the whole window passes outside it everywhere.
  draw_circle(400, 300, 2000, colour_black);
  draw_line(-10, -10, -500, -300, colour_black);
  draw_line(0, -1, 799, -1, colour_black);
  draw_line(800, 0, 800, 599, colour_black);
  draw_line(-1, 600, 900, 600, colour_black);
  EXPECT_EQ(changed_pixels(colour_white).size(), 0u);
  EXPECT_EQ(damaged_guard_words(), 0);
}

TEST_F(RasterClipping, HugeCoordinatesNeitherCrashNorWriteOutside) {
  draw_line(INT_MAX - 1000, INT_MAX - 700, INT_MAX, INT_MAX, colour_black);
  draw_line(INT_MIN, INT_MIN, INT_MIN + 900, INT_MIN + 1000, colour_black);
  draw_line(INT_MIN, 300, INT_MIN + 1000, 300, colour_black);
  draw_line(300, INT_MAX, 300, INT_MAX - 1000, colour_black);
  draw_line(INT_MAX, INT_MIN, INT_MAX - 500, INT_MIN + 200, colour_black);
  const int far[] = {2000000000, -2000000000, INT_MAX, INT_MIN};
  for (int cx : far)
    for (int cy : far)
      for (int r : {0, 1, 5, 50}) {
        draw_circle(cx, cy, r, colour_black);
        fill_disc(cx, cy, r, colour_black);
        draw_circle(cx, 300, r, colour_black);
        fill_disc(400, cy, r, colour_black);
      }
  EXPECT_EQ(changed_pixels(colour_white).size(), 0u);
  EXPECT_EQ(damaged_guard_words(), 0);

  // A segment two million pixels long through the window fills its one row.
  draw_line(-1000000, 300, 1000000, 300, colour_black);
  PixelSet row;
  for (int x = 0; x < window_width; ++x) row.insert({x, 300});
  EXPECT_EQ(drawn(), row);
  EXPECT_EQ(damaged_guard_words(), 0);
}

}  // namespace
