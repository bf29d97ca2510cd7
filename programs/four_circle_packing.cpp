// four_circle_packing: four circles that almost touch in a ring (0-1, 0-2,
// 1-3 and 2-3 nearly tangent), and what inversion in one another makes of
// them.
//
// Pictures 1 to 3 show the four black discs, then the first and second
// generations of their images in each other, in random colours, nested into
// the gaps; picture 4 is the third generation (17292 discs) alone in black.
// Picture 5 is the limit set of the four inversions, the orbit of one point
// under 300000 random inversions. Each generation's size is printed.
#include <cstdio>
#include <ctime>

#include "inversion.h"
#include "program_circles.h"
#include "random_generator.h"
#include "raster_kit.h"

static void store_base_circles();
static Uint32 random_colour();

// y down: column = 380 + 230 x, row = 150 + 230 y.
static constexpr WorldFrame frame = four_circle_packing_circles::frame;

static constexpr const float* base_x = four_circle_packing_circles::x;
static constexpr const float* base_y = four_circle_packing_circles::y;
static constexpr const float* base_r = four_circle_packing_circles::r;

static constexpr int colour_count = 10000;
static Uint32 random_colours[colour_count];

static CircleStore<100000> current_circles;
static CircleStore<100000> next_circles;
static CircleGeneration generation{current_circles.slots(), 0, next_circles.slots(), 0};

int main(int, char**) {
  // ---- initialisation ----
  open_display("four_circle_packing");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_red = map_colour(255, 0, 0);
  // Filled before seeding: the unseeded sequence gives the same table every run.
  for (int k = 0; k < colour_count; ++k) {
    const int blue = next_random(program_random) & 0xFF;
    const int green = next_random(program_random) & 0xFF;
    const int red = next_random(program_random) & 0xFF;
    random_colours[k] = map_colour(red, green, blue);
  }
  clear_screen(colour_white);
  seed_random(program_random, time(NULL));

  // ---- picture 1: the four circles ----
  store_base_circles();
  generation.n = 4;
  for (int k = 0; k < 4; ++k)
    fill_disc(frame_column(frame, current_circles.x[k]), frame_row(frame, current_circles.y[k]),
              frame_radius(frame, current_circles.r[k]), colour_black);
  show_picture();
  wait_for_key();

  // ---- picture 2: generation 1 in random colours, over picture 1 ----
  generation.n_next = 0;
  grow_generation(generation, frame, random_colour);
  show_picture();
  printf("%d   ", generation.n_next);
  fflush(stdout);  // no newline: show the count while its picture is up
  wait_for_key();

  // ---- picture 3: generation 2 in random colours, over picture 2 ----
  promote_generation(generation);
  grow_generation(generation, frame, random_colour);
  show_picture();
  printf("%d   ", generation.n_next);
  fflush(stdout);
  wait_for_key();

  // ---- picture 4: generation 3 alone, black on white ----
  clear_screen(colour_white);
  promote_generation(generation);  // n = 132
  grow_generation(generation, frame, colour_black);
  show_picture();
  printf("%d   ", generation.n_next);
  fflush(stdout);
  clear_screen(colour_white);  // the flipped picture stays up; the canvas is ready for picture 5
  wait_for_key();

  // ---- picture 5: the limit set, one point under random inversions ----
  store_base_circles();  // the promotions overwrote them
  const WalkCircles circles =
      walk_circles_squaring(current_circles.x, current_circles.y, current_circles.r, 4);
  WalkState walker{0.0, -5.0, 0};  // previous index 0: the first step never uses circle 0
  // The walk point is kept in floats; each plot uses the point before rounding.
  const WalkRules rules{PickRule::random, InsideRule::invert, PointStorage::float_width,
                        four_circle_packing_circles::walk_steps, four_circle_packing_circles::burn_in,
                        WalkPlot::pixel, colour_black};
  inversion_walk(circles, walker, rules, frame);
  show_picture();
  wait_for_key();
  return 0;
}

static void store_base_circles() {
  for (int k = 0; k < 4; ++k) set_circle(generation.current, k, base_x[k], base_y[k], base_r[k]);
}

// One random value per image, in pair order.
static Uint32 random_colour() { return random_colours[next_random(program_random) % colour_count]; }
