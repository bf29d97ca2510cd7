// Direct pixel access on the window-sized surface: what reads back, and which
// memory word a position names.
#include <set>
#include <utility>

#include "canvas_test.h"

using RasterPixels = CanvasTest;

TEST_F(RasterPixels, UntouchedPixelsReadTheBackground) {
  EXPECT_EQ(count_pixels(colour_white), window_width * window_height);
  EXPECT_EQ(get_pixel(0, 0), colour_white);
  EXPECT_EQ(get_pixel(799, 599), colour_white);
  EXPECT_EQ(get_pixel(400, 300), colour_white);
}

TEST_F(RasterPixels, PutThenGetRoundTripsAndTouchesNothingElse) {
  const Uint32 colours[] = {colour_black, colour_red, colour_green, colour_blue, colour_yellow};
  const std::pair<int, int> positions[] = {{0, 0}, {799, 0}, {0, 599}, {799, 599}, {400, 300}};
  std::set<std::pair<int, int>> written;
  for (int i = 0; i < 5; ++i) {
    const auto [x, y] = positions[i];
    put_pixel(x, y, colours[i]);
    written.insert(positions[i]);
  }
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(get_pixel(positions[i].first, positions[i].second), colours[i]) << i;
  const auto changed = changed_pixels(colour_white);
  const std::set<std::pair<int, int>> changed_set(changed.begin(), changed.end());
  EXPECT_EQ(changed_set, written);

  // A later value replaces an earlier one, white included.
  put_pixel(400, 300, colour_red);
  put_pixel(400, 300, colour_white);
  EXPECT_EQ(get_pixel(400, 300), colour_white);
  EXPECT_EQ(changed_pixels(colour_white).size(), 4u);
}

TEST_F(RasterPixels, PositionNamesTheWordXPlusYTimesWidth) {
  ASSERT_EQ(screen->w, 800);
  auto* words = static_cast<Uint32*>(screen->pixels);
  put_pixel(799, 10, colour_red);  // last word of row 10, right before row 11
  put_pixel(0, 11, colour_blue);
  EXPECT_EQ(words[799 + 10 * 800], colour_red);
  EXPECT_EQ(words[0 + 11 * 800], colour_blue);
  words[123 + 456 * 800] = colour_green;
  EXPECT_EQ(get_pixel(123, 456), colour_green);
  EXPECT_EQ(changed_pixels(colour_white).size(), 3u);
}
