// coaxal_pencil
//
// Two blue circles that do not meet span a pencil of coaxal circles: the
// green radical axis between them, two limiting points (small blue marks),
// and 21 green members of the pencil around the right limiting point L1.
// Inverted in the black circle of radius 5 about L1, every member becomes a
// red circle about one and the same centre, the image of the other limiting
// point: look for the concentric red rings centred left of the axis.
#include <cstdio>

#include "inversion.h"
#include "raster_kit.h"

// World frame: 25 pixels per unit, origin (400, 300), y up.
static const WorldFrame frame{25, 400, 300, YAxis::up};

// The two given circles, x^2 + y^2 - 2ax - 2by + c = 0.
static const CircleEquation first{-3, 0, 0};   // centre (-3, 0), radius 3
static const CircleEquation second{7, 0, 24};  // centre (7, 0), radius 5

static constexpr double inversion_R2 = 25;  // circle of inversion about L1, radius 5
static constexpr int inversion_radius = 125;

static LimitingPoints limits;  // L1 and L2, kept for the whole run

static int no_limiting_points();

int main(int, char**) {
  // -- initialisation ------------------------------------------------------
  open_display("coaxal_pencil");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_red = map_colour(255, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  clear_screen(colour_white);

  // -- the given circles, their radical axis and limiting points -----------
  draw_circle(325, 300, 75, colour_blue);
  draw_circle(575, 300, 125, colour_blue);
  radical_axis(first, second, frame, colour_green);
  limits = limiting_points(first, second);
  if (!limits.exist) return no_limiting_points();
  draw_circle(frame_column(frame, limits.L1.x), frame_row(frame, limits.L1.y), 3, colour_blue);
  draw_circle(frame_column(frame, limits.L2.x), frame_row(frame, limits.L2.y), 3, colour_blue);
  const int L1_column = frame_column(frame, limits.L1.x);
  const int L1_row = frame_row(frame, limits.L1.y);
  draw_circle(L1_column, L1_row, inversion_radius, colour_black);

  // -- the pencil and its concentric images --------------------------------
  // m is accumulated, not counted: 0.15 plus twenty steps of 0.04 lands just
  // above 0.99, so the loop draws 21 ratios, 0.15 to 0.95.
  double m = 0.15;
  do {
    const Circle C = apollonius_circle(limits.L1, limits.L2, m);
    draw_circle(frame_column(frame, C.x), frame_row(frame, C.y), frame_radius(frame, C.r),
                colour_green);
    invert_circle(C.x, C.y, C.r, limits.L1.x, limits.L1.y, inversion_R2, colour_red, frame);
    m = m + 0.04;
  } while (m < 0.99);

  // -- the circle of inversion again, three pixels wide, over everything ---
  draw_circle(L1_column, L1_row, inversion_radius, colour_black);
  draw_circle(L1_column, L1_row, inversion_radius + 1, colour_black);
  draw_circle(L1_column, L1_row, inversion_radius - 1, colour_black);

  show_picture();
  wait_for_key();
  return 0;
}

// Circles that meet span a pencil without limiting points: the picture
// cannot be drawn, and the program says so rather than show half of it.
static int no_limiting_points() {
  std::fprintf(stderr, "%s: the two circles meet, so they have no limiting points\n", program_name);
  return 1;
}
