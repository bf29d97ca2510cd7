#include "canvas_test.h"

void CanvasTest::SetUp() {
  saved_screen_ = screen;
  screen = SDL_CreateRGBSurface(SDL_SWSURFACE, window_width, window_height, 32, 0x00FF0000,
                                0x0000FF00, 0x000000FF, 0);
  ASSERT_NE(screen, nullptr) << SDL_GetError();
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_red = map_colour(255, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_yellow = map_colour(255, 255, 0);
  SDL_FillRect(screen, nullptr, colour_white);
}

void CanvasTest::TearDown() {
  SDL_FreeSurface(screen);
  screen = saved_screen_;
}

std::vector<std::pair<int, int>> CanvasTest::changed_pixels(Uint32 background) const {
  std::vector<std::pair<int, int>> positions;
  for (int y = 0; y < window_height; ++y)
    for (int x = 0; x < window_width; ++x)
      if (get_pixel(x, y) != background) positions.emplace_back(x, y);
  return positions;
}

int CanvasTest::count_pixels(Uint32 value) const {
  int count = 0;
  for (int y = 0; y < window_height; ++y)
    for (int x = 0; x < window_width; ++x)
      if (get_pixel(x, y) == value) ++count;
  return count;
}
