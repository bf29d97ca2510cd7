// soddy_gasket: three mutually tangent circles, a small one at the origin
// and two of radius sqrt(3) touching it and each other.
//
// Picture 1 inverts every circle in every other one, three generations deep,
// painting each generation over the last (blue starting discs, then black,
// red and green images): the discs nest ever smaller into the gaps, a
// circle packing. Picture 2 walks one point through 500000 random
// inversions in the three circles; its orbit settles on the circle through
// the three points of contact, orthogonal to all three, traced in red.
#include <cmath>
#include <ctime>

#include "inversion.h"
#include "program_circles.h"
#include "random_generator.h"
#include "raster_kit.h"

static void store_starting_circles();

// y up, origin in the middle of the window: column = 400 + 200 x, row = 300 - 200 y.
static constexpr WorldFrame frame = soddy_gasket_circles::frame;

// The starting circles, stored as floats (the roundings of the exact values).
static constexpr const float* start_x = soddy_gasket_circles::x;
static constexpr const float* start_y = soddy_gasket_circles::y;
static constexpr const float* start_r = soddy_gasket_circles::r;

static CircleStore<3000> current_circles;
static CircleStore<30000> next_circles;
static CircleGeneration generation{current_circles.slots(), 0, next_circles.slots(), 0};

static double radii_squared[3];

int main(int, char**) {
  // ---- initialisation ----
  open_display("soddy_gasket");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_red = map_colour(255, 0, 0);
  clear_screen(colour_white);
  store_starting_circles();

  // ---- picture 1: the packing, three generations over the blue discs ----
  for (int k = 0; k < 3; ++k)
    fill_disc(frame_column(frame, current_circles.x[k]), frame_row(frame, current_circles.y[k]),
              frame_radius(frame, current_circles.r[k]), colour_blue);
  generation.n = 3;
  generation.n_next = 0;
  grow_generation(generation, frame, colour_black);  // 6 images
  promote_generation(generation);
  grow_generation(generation, frame, colour_red);  // 30 images
  promote_generation(generation);
  grow_generation(generation, frame, colour_green);  // 870 images, not promoted
  show_picture();
  wait_for_key();

  // ---- picture 2: the limit set of the three inversions ----
  clear_screen(colour_white);
  store_starting_circles();  // the promotions overwrote them
  seed_random(program_random, time(NULL));
  for (int k = 0; k < 3; ++k) {
    draw_circle(frame_column(frame, current_circles.x[k]), frame_row(frame, current_circles.y[k]),
                frame_radius(frame, current_circles.r[k]), colour_black);
    // The float radius times itself is a float product, widened on storing.
    radii_squared[k] = current_circles.r[k] * current_circles.r[k];
  }
  const WalkCircles circles = walk_circles(current_circles.x, current_circles.y, radii_squared, 3);
  WalkState walker{10.0, 3.0, 0};  // previous index 0: the first step never uses circle 0
  const WalkRules rules{PickRule::random, InsideRule::invert, PointStorage::double_width,
                        soddy_gasket_circles::walk_steps, soddy_gasket_circles::burn_in,
                        WalkPlot::ring1, colour_red};
  inversion_walk(circles, walker, rules, frame);
  show_picture();
  wait_for_key();
  return 0;
}

static void store_starting_circles() {
  for (int k = 0; k < 3; ++k) set_circle(generation.current, k, start_x[k], start_y[k], start_r[k]);
}
