// soddy_radius_sweep: three circles of radius sqrt(3) about the corners of a
// triangle, touching one another, and a fourth circle at the origin whose
// radius grows from 2 - sqrt(3) - 0.2 to 2 - sqrt(3) + 1.2 over 15 passes.
//
// Each pass shows the four circles, then the orbit of a random walk of
// inversions in them in which a circle never inverts a point inside it.
// While the central circle is small the orbit hugs the circle through the
// three points where the outer circles touch; at pass 3 the central circle
// is the inner Soddy circle, touching all three, and the orbit fills the
// gaps with a lace of ever smaller circles; as it grows on and overlaps the
// others the lace breaks into bands that thin back toward arcs.
#include <ctime>

#include "inversion.h"
#include "program_circles.h"
#include "random_generator.h"
#include "raster_kit.h"

// y up, origin in the middle of the window: column = 400 + 120 x, row = 300 - 120 y.
static constexpr WorldFrame frame = soddy_radius_sweep_circles::frame;
using soddy_radius_sweep_circles::store;

// The circle set as 32-bit floats, rewritten at every pass.
static float circle_x[4];
static float circle_y[4];
static float circle_r[4];
static double radii_squared[4];

int main(int, char**) {
  // ---- initialisation ----
  open_display("soddy_radius_sweep");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_red = map_colour(255, 0, 0);
  clear_screen(colour_white);
  seed_random(program_random, time(NULL));
  double t = soddy_radius_sweep_circles::first_t;
  // Previous index 0: the first step never uses circle 0; it then carries from pass to pass.
  WalkState walker{10.0, 3.0, 0};

  // ---- fifteen passes, t from -0.2 to 1.2 ----
  do {
    // The circles alone.
    store(t, circle_x, circle_y, circle_r);
    for (int k = 0; k < 4; ++k) {
      draw_circle(frame_column(frame, circle_x[k]), frame_row(frame, circle_y[k]),
                  frame_radius(frame, circle_r[k]), colour_black);
      // The float radius times itself is a float product, widened on storing.
      radii_squared[k] = circle_r[k] * circle_r[k];
    }
    show_picture();

    // Their limit set: 200000 accepted inversions from (10, 3), picks of a
    // circle around the point refused.
    walker.x = 10.0;
    walker.y = 3.0;
    const WalkCircles circles = walk_circles(circle_x, circle_y, radii_squared, 4);
    const WalkRules rules{PickRule::random, InsideRule::refuse,
                          PointStorage::double_width, soddy_radius_sweep_circles::walk_steps,
                          soddy_radius_sweep_circles::burn_in, WalkPlot::pixel, colour_red};
    inversion_walk(circles, walker, rules, frame);
    show_picture();
    wait_for_key();
    clear_screen(colour_white);

    // Accumulated by repeated addition: after fifteen additions t is exactly
    // 1.3 and the sweep ends.
    t = t + soddy_radius_sweep_circles::t_step;
  } while (t < soddy_radius_sweep_circles::end_t);
  return 0;
}
