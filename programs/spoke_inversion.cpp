// spoke_inversion
//
// The image of a circle under inversion, computed and then found pixel by
// pixel. A black mirror circle, a red wheel (rim and twenty spokes) to its
// right, and the black image of the rim as invert_circle computes it; then
// every red pixel is inverted on its own and plotted in blue. The blue rim
// falls on the black image circle, and the spokes become blue arcs inside it
// that meet at the image of the hub.
#include <cmath>

#include "inversion.h"
#include "raster_kit.h"

// World frame: 200 pixels per unit, origin (200, 300), y up.
static const WorldFrame frame{200, 200, 300, YAxis::up};

static constexpr double mirror_R2 = 0.63;  // centre (0, 0), about 158 pixels
static constexpr double rim_x = 1.9;       // rim centre (1.9, 0), radius 1
static constexpr double rim_radius = 1;

static void invert_red_pixels();

int main(int, char**) {
  // -- initialisation ------------------------------------------------------
  open_display("spoke_inversion");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_red = map_colour(255, 0, 0);
  colour_blue = map_colour(0, 0, 255);
  clear_screen(colour_white);

  // -- mirror, wheel and the computed image of the rim ---------------------
  draw_circle(200, 300, 2, colour_black);
  draw_circle(200, 300, 158, colour_black);
  draw_circle(580, 300, 200, colour_red);
  draw_circle(580, 300, 201, colour_red);
  for (int i = 0; i <= 19; ++i) {
    const double theta = (i * 6.283185307179586) / 20;
    draw_line(580, 300, truncate_toward_zero(200 * (std::cos(theta) + 1.9) + 200),
              truncate_toward_zero(300 - 200 * (std::sin(theta) + 0)), colour_red);
  }
  invert_circle(rim_x, 0, rim_radius, 0, 0, mirror_R2, colour_black, frame);

  // -- the red pixels, inverted one by one ---------------------------------
  invert_red_pixels();

  show_picture();
  wait_for_key();
  return 0;
}

// Scans columns 300 to 799 and plots the inverse of each red pixel in blue.
// Red pixels lie 0.895 to 2.905 units from the mirror centre, so every image
// falls within about 141 pixels of (200, 300), inside the window, and none
// is red again.
static void invert_red_pixels() {
  for (int x = 300; x <= 799; ++x) {
    for (int y = 0; y <= 599; ++y) {
      if (get_pixel(x, y) != colour_red) continue;
      const Point p{(x - 200) / 200.0, (300 - y) / 200.0};
      const Point image = invert_point(p.x, p.y, 0, 0, mirror_R2);
      put_pixel(frame_column(frame, image.x), frame_row(frame, image.y), colour_blue);
    }
  }
}
