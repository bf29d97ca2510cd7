// ring_zoom: a ring of fourteen equal circles inside a central circle, each
// touching its two neighbours and the central one, and the limit set of the
// fifteen inversions, painted by a random walk.
//
// Then the program zooms in: eighteen stages, each enlarging the whole
// configuration by f = (1 + sin(pi/14)) / cos(pi/14), about 1.254, and
// turning it by pi/14, so each stage's limit set lands just around the one
// before, in the next colour of an eight-colour palette. The first picture
// is a tiny copy in the middle of the black window; the last shows eighteen
// nested copies, the outer ones cut off by the window's edges.
#include <cmath>
#include <ctime>

#include "inversion.h"
#include "program_circles.h"
#include "random_generator.h"
#include "raster_kit.h"

static void radii_squared_of_all();
static void zoom(double f, double s, double c);

// y up, origin in the middle of the window: column = 400 + 10 x, row = 300 - 10 y.
static constexpr WorldFrame frame = ring_zoom_circles::frame;

using ring_zoom_circles::angle;
using ring_zoom_circles::central;

static Uint32 ring_palette[8];

// Circles 0 to 13 are the ring, circle 14 the central circle about the origin.
static double circle_x[15];
static double circle_y[15];
static double circle_r[15];
static double radii_squared[15];

int main(int, char**) {
  // ---- initialisation ----
  init_video("ring_zoom");
  seed_random(program_random, time(NULL));
  open_window();
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_red = map_colour(255, 0, 0);
  colour_yellow = map_colour(255, 255, 0);
  ring_palette[0] = colour_red;
  ring_palette[1] = colour_green;
  ring_palette[2] = colour_blue;
  ring_palette[3] = colour_yellow;
  ring_palette[4] = map_colour(195, 0, 0);
  ring_palette[5] = map_colour(0, 190, 0);
  ring_palette[6] = map_colour(0, 0, 190);
  ring_palette[7] = map_colour(155, 155, 0);
  clear_screen(colour_black);

  // ---- the initial configuration: unit central circle, ring circle 0 on the x axis ----
  const double s = sin(angle);
  const double c = cos(angle);
  const double f = (1 + s) / c;  // the zoom factor per stage
  ring_zoom_circles::first_stage(circle_x, circle_y, circle_r);
  // No previous index before stage 0; it then carries from stage to stage.
  WalkState walker{3.0, 3.0, no_previous};

  // ---- eighteen stages, each drawn over the ones before ----
  for (int k = 0; k < 18; ++k) {
    if (k > 0) ring_zoom_circles::build_ring(circle_x, circle_y, circle_r);
    radii_squared_of_all();
    if (k == 0) {
      // Ring circles of pixel radius 1 (10 rho is about 1.82), the central one of radius 10.
      for (int i = 0; i < 15; ++i)
        draw_circle(frame_column(frame, circle_x[i]), frame_row(frame, circle_y[i]),
                    frame_radius(frame, circle_r[i]), colour_white);
    }
    walker.x = 3.0;
    walker.y = 3.0;
    const WalkCircles circles = walk_circles(circle_x, circle_y, radii_squared, 15);
    const WalkRules rules{PickRule::random, InsideRule::invert,
                          PointStorage::double_width,
                          ring_zoom_circles::first_walk_steps + 120000L * k, ring_zoom_circles::burn_in,
                          WalkPlot::ring1, ring_palette[k % 8]};
    inversion_walk(circles, walker, rules, frame);
    show_picture();
    if (k == 0) wait_for_key();
    zoom(f, s, c);
  }

  // ---- the end: all eighteen copies ----
  show_picture();
  wait_for_key();
  return 0;
}

static void radii_squared_of_all() {
  for (int i = 0; i < 15; ++i) radii_squared[i] = circle_r[i] * circle_r[i];
}

// Enlarges the configuration by f and turns it by pi/14: the central circle
// grows about the origin, ring circle 0 grows and moves; the rest of the
// ring follows when it is next built.
static void zoom(double f, double s, double c) {
  const double x0 = circle_x[0];
  const double y0 = circle_y[0];
  circle_r[central] *= f;
  circle_r[0] *= f;
  circle_x[0] = f * (c * x0 - s * y0);
  circle_y[0] = f * (s * x0 + c * y0);
}
