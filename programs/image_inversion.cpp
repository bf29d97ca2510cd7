// image_inversion
//
// A raster picture carried through inversion in a circle pixel by pixel, in
// the two ways a raster can be mapped. Picture 1: three V-shaped bands on a
// black base line (top left) and, below the line, the image of every
// coloured pixel pushed forward through inversion in a circle of radius 4
// tangent to the line; pixels that land where the scan has yet to look are
// mapped again, back into the bands. Picture 2: the square to the right pulls
// each pixel's colour from its pre-image under inversion in a circle of
// radius 2, out of the forward image: the bands, inverted twice.
#include "inversion.h"
#include "raster_kit.h"

// One scale, two origins: the left side (test picture and its forward
// image) and the square to its right (the backward-mapped picture).
static const WorldFrame left_frame{150, 150, 150, YAxis::up};
static const WorldFrame right_frame{150, 450, 150, YAxis::up};

struct FloatPoint {
  float x;
  float y;
};

// Both mirrors touch the world x axis at the origin, pixel (150, 150).
static const FloatPoint forward_centre{0, -4};  // radius squared 16
static const FloatPoint backward_centre{0, -2};  // radius squared 4

static void draw_test_picture();
static void forward_mapping();
static void backward_mapping();

int main(int, char**) {
  // -- initialisation ------------------------------------------------------
  open_display("image_inversion");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_red = map_colour(255, 0, 0);
  colour_yellow = map_colour(255, 255, 0);
  clear_screen(colour_white);

  // -- picture 1: the test picture and its forward image -------------------
  draw_test_picture();
  forward_mapping();
  show_picture();
  wait_for_key();

  // -- picture 2: the backward-mapped square -------------------------------
  backward_mapping();
  show_picture();
  wait_for_key();
  return 0;
}

// Three V-shaped bands, 20 pixels wide, with their points on the base line at
// columns 90, 150 and 210; later loops overwrite earlier ones where they cross.
static void draw_test_picture() {
  draw_line(0, 150, 300, 150, colour_black);
  for (int i = -10; i <= 9; ++i) draw_line(210 + i, 150, 285 + i, 0, colour_red);
  for (int i = -10; i <= 9; ++i) draw_line(210 + i, 150, 135 + i, 0, colour_red);
  for (int i = -10; i <= 9; ++i) draw_line(90 + i, 150, 165 + i, 0, colour_green);
  for (int i = -10; i <= 9; ++i) draw_line(90 + i, 150, 15 + i, 0, colour_green);
  for (int i = -10; i <= 9; ++i) draw_line(150 + i, 150, 225 + i, 0, colour_yellow);
  for (int i = -10; i <= 9; ++i) draw_line(150 + i, 150, 75 + i, 0, colour_yellow);
}

// Pushes every coloured pixel of columns and rows 0 to 299 to its image. The
// scan reads the surface it writes: an image landing in a column still to be
// scanned (or lower in this one) is read there and mapped once more, back
// near its source. Images stay in the window (rows 0 to about 290), so
// put_pixel is called directly.
static void forward_mapping() {
  for (int x = 0; x <= 299; ++x) {
    for (int y = 0; y <= 299; ++y) {
      const Uint32 c = get_pixel(x, y);
      if (c == colour_white) continue;
      const Point p{(x - 150) / 150.0, (150 - y) / 150.0};
      const Point image = invert_point(p.x, p.y, forward_centre.x, forward_centre.y, 16);
      put_pixel(frame_column(left_frame, image.x), frame_row(left_frame, image.y), c);
    }
  }
}

// Pulls, for every pixel of columns 302 to 599 and rows 0 to 299, the colour
// of its pre-image from below the base line of the left side (the forward
// image, never the test picture); white pre-images leave the pixel alone.
static void backward_mapping() {
  for (int x = 302; x <= 599; ++x) {
    for (int y = 0; y <= 299; ++y) {
      // The world x is kept as a float: its rounding moves some samples.
      const float qx = static_cast<float>((x - 450) / 150.0);
      const Point q{qx, (150 - y) / 150.0};
      const double dx = q.x - backward_centre.x;
      const double dy = q.y - backward_centre.y;
      if (dx * dx + dy * dy <= 0.00001) continue;  // the mirror centre has no image
      const Point s = invert_point(q.x, q.y, backward_centre.x, backward_centre.y, 4);
      const int sx = frame_column(left_frame, s.x);
      const int sy = frame_row(left_frame, s.y);
      if (sy > 150 && sy <= 599 && sx > 0 && sx <= 299) {
        const Uint32 c = get_pixel(sx, sy);
        if (c != colour_white) put_pixel(x, y, c);
      }
    }
  }
}
