// apollonian_circles
//
// The two pencils of coaxal circles that two points A = (0, 0) and B = (1, 0)
// define. In black, the Apollonius circles of A and B (points whose distances
// to A and B keep a fixed ratio) for twelve ratios and their reciprocals, and
// the perpendicular bisector of AB; in red, circles through A and B, the line
// AB and the two points. Every black circle cuts every red one at right angles.
#include <cmath>

#include "inversion.h"
#include "raster_kit.h"

// World frame: 50 pixels per unit, origin (400, 300), y up.
static const WorldFrame frame{50, 400, 300, YAxis::up};

static const Point A{0, 0};
static const Point B{1, 0};

static void draw_world_circle(const Circle& C, Uint32 colour);

int main(int, char**) {
  // -- initialisation ------------------------------------------------------
  open_display("apollonian_circles");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_red = map_colour(255, 0, 0);
  colour_green = map_colour(0, 250, 0);
  clear_screen(colour_white);

  // -- the Apollonius family and the bisector, in black --------------------
  // k is accumulated: 0.08 plus twelve steps of 0.07 comes to just above
  // 0.92, so the loop draws the 12 ratios 0.08 to 0.85 and their reciprocals.
  double k = 0.08;
  do {
    if (std::fabs(k - 1) > 0.05) {  // ratio 1 has no circle
      draw_world_circle(apollonius_circle(A, B, k), colour_black);
      draw_world_circle(apollonius_circle(A, B, 1 / k), colour_black);
    }
    k = k + 0.07;
  } while (k < 0.92);
  draw_line(425, 100, 425, 500, colour_black);

  // -- the line AB, the marks of A and B -----------------------------------
  draw_line(75, 300, 775, 300, colour_red);
  draw_circle(400, 300, 2, colour_red);
  draw_circle(400, 300, 1, colour_red);
  draw_circle(450, 300, 2, colour_red);
  draw_circle(450, 300, 1, colour_red);

  // -- the circles through A and B, centres (0.5, e) and (0.5, -e) ---------
  // e = 0, 0.5, ..., 2.5: six passes, the sum after 2.5 reaching 3.
  double e = 0;
  do {
    const int radius = frame_radius(frame, std::sqrt(e * e + 0.25));
    draw_circle(425, frame_row(frame, e), radius, colour_red);
    draw_circle(425, frame_row(frame, -e), radius, colour_red);
    e = e + 0.5;
  } while (e < 2.8);

  show_picture();
  wait_for_key();
  return 0;
}

// Outline of a world circle through the frame, each value truncated on its own.
static void draw_world_circle(const Circle& C, Uint32 colour) {
  draw_circle(frame_column(frame, C.x), frame_row(frame, C.y), frame_radius(frame, C.r), colour);
}
