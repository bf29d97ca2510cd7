// five_circle_limit: four equal circles in a ring, each touching its two
// neighbours, inside a fifth circle about the origin that touches all four.
//
// The inversions in the five circles generate a group whose limit set a
// random walk of 100000 inversions paints, point by point. Each of the
// three configurations is the one before enlarged by 1 + sqrt(2) and turned
// by 45 degrees (black, green, red), and all are drawn on one canvas, so the
// last picture shows the three limit sets overlaid, each nested in the next.
// In the black one the outer radius is 2.414 rather than 1 + sqrt(2): its
// unit circles poke a hair past the outer circle.
#include <ctime>

#include "inversion.h"
#include "program_circles.h"
#include "random_generator.h"
#include "raster_kit.h"

using five_circle_limit_circles::Configuration;

static void draw_configuration(const Configuration& configuration, Uint32 colour);
static void walk(WalkState& walker, Uint32 colour);

// y up, origin in the middle of the window: column = 400 + 5 x, row = 300 - 5 y.
static constexpr WorldFrame frame = five_circle_limit_circles::frame;

// Circles 0 to 3 form the ring, circle 4 is the outer circle.
static const Configuration& configuration_1 = five_circle_limit_circles::configurations[0];
static const Configuration& configuration_2 = five_circle_limit_circles::configurations[1];
static const Configuration& configuration_3 = five_circle_limit_circles::configurations[2];

static double circle_x[5];
static double circle_y[5];
static double circle_r[5];
static double radii_squared[5];

int main(int, char**) {
  // ---- initialisation ----
  open_display("five_circle_limit");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_red = map_colour(255, 0, 0);
  clear_screen(colour_white);
  seed_random(program_random, time(NULL));
  // No previous index before the first walk; it then carries from walk to walk.
  WalkState walker{3.0, 3.0, no_previous};

  // ---- picture 1: configuration 1 and its limit set, in black ----
  draw_configuration(configuration_1, colour_black);
  walk(walker, colour_black);
  show_picture();
  wait_for_key();

  // ---- picture 2: configuration 2's circles, in green ----
  draw_configuration(configuration_2, colour_green);
  show_picture();
  wait_for_key();

  // ---- picture 3: configuration 2's limit set ----
  walk(walker, colour_green);
  show_picture();
  wait_for_key();

  // ---- picture 4: configuration 3 and its limit set, in red, over everything ----
  draw_configuration(configuration_3, colour_red);
  walk(walker, colour_red);
  show_picture();
  wait_for_key();
  return 0;
}

// Replaces the circle set by the configuration, drawing each outline and
// filling its entry of the radii squared.
static void draw_configuration(const Configuration& configuration, Uint32 colour) {
  for (int i = 0; i < 5; ++i) {
    circle_x[i] = configuration.x[i];
    circle_y[i] = configuration.y[i];
    circle_r[i] = configuration.r[i];
    // Truncated toward zero: 400 - 5 * 3.414... = 382.93 is column 382.
    draw_circle(frame_column(frame, circle_x[i]), frame_row(frame, circle_y[i]),
                frame_radius(frame, circle_r[i]), colour);
    radii_squared[i] = circle_r[i] * circle_r[i];
  }
}

// 100000 random inversions from (3, 3), every new point plotted as a pixel.
// The orbit keeps to the middle 340 x 340 pixels, except for the rare point
// that lands near a centre and is thrown far out; the walk's clipped plot
// leaves that one out.
static void walk(WalkState& walker, Uint32 colour) {
  walker.x = 3.0;
  walker.y = 3.0;
  const WalkCircles circles = walk_circles(circle_x, circle_y, radii_squared, 5);
  const WalkRules rules{PickRule::random, InsideRule::invert, PointStorage::double_width,
                        five_circle_limit_circles::walk_steps, no_burn_in, WalkPlot::pixel, colour};
  inversion_walk(circles, walker, rules, frame);
}
