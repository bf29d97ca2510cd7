// harness_demo: two pictures drawn with the raster kit, a wait after each,
// and the clock printed at the end. It exists only to check the headless
// harness and the program runner against pixels that are known exactly.
#include <cstdio>
#include <ctime>

#include "raster_kit.h"

int main() {
  open_display("harness_demo");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_red = map_colour(255, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_yellow = map_colour(255, 255, 0);
  clear_screen(colour_white);

  // Picture 1: a line, an outline and a disc, apart from each other.
  draw_line(100, 100, 110, 103, colour_red);
  draw_circle(300, 300, 50, colour_blue);
  fill_disc(500, 300, 40, colour_green);
  show_picture();
  wait_for_key();

  // Picture 2: the same canvas with more drawn where it was still white.
  draw_circle(650, 450, 30, colour_black);
  fill_disc(150, 450, 20, colour_yellow);
  show_picture();
  wait_for_key();

  std::printf("%ld\n", static_cast<long>(std::time(nullptr)));
  return 0;
}
