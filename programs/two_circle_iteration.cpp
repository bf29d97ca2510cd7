// two_circle_iteration: two disjoint circles on the y axis and the maps that
// invert in them alternately.
//
// Picture 1 shows the two outlines and the orbit of one point under
// alternating inversions: it lands at once on the two limiting points of
// the circles, two small black rings. Pictures 2 to 4 fill the circles in
// blue and invert each in the other, generation after generation (black,
// red, black): each pair of images nests inside the pair before and closes
// in on the same two limiting points.
#include "inversion.h"
#include "program_circles.h"
#include "raster_kit.h"

static void store_circles();
static void invert_pair(Uint32 colour);
static void copy_images();

// y up, origin row 200: column = 400 + 200 x, row = 200 - 200 y.
static constexpr WorldFrame frame = two_circle_iteration_circles::frame;

static constexpr const float* circle_x = two_circle_iteration_circles::x;
static constexpr const float* circle_y = two_circle_iteration_circles::y;
static constexpr const float* circle_r = two_circle_iteration_circles::r;

// Always two circles; each image goes to the slot of its mirror.
static CircleStore<30> current_circles;
static CircleStore<30> next_circles;
static CircleGeneration generation{current_circles.slots(), 2, next_circles.slots(), 0};

static double radii_squared[2];

int main(int, char**) {
  // ---- initialisation ----
  open_display("two_circle_iteration");
  colour_white = map_colour(255, 255, 255);
  colour_black = map_colour(0, 0, 0);
  colour_green = map_colour(0, 250, 0);
  colour_blue = map_colour(0, 0, 250);
  colour_red = map_colour(255, 0, 0);
  clear_screen(colour_white);  // the only clear: every picture adds to the one before
  store_circles();

  // ---- picture 1: the outlines and the alternating orbit ----
  for (int k = 0; k < 2; ++k) {
    draw_circle(frame_column(frame, current_circles.x[k]), frame_row(frame, current_circles.y[k]),
                frame_radius(frame, current_circles.r[k]), colour_black);
    // The float radius times itself is a float product, widened on storing.
    radii_squared[k] = current_circles.r[k] * current_circles.r[k];
  }
  const WalkCircles circles = walk_circles(current_circles.x, current_circles.y, radii_squared, 2);
  WalkState walker{3.0, 3.0, no_previous};
  const WalkRules rules{PickRule::cyclic, InsideRule::invert, PointStorage::double_width,
                        two_circle_iteration_circles::walk_steps, two_circle_iteration_circles::burn_in,
                        WalkPlot::ring2, colour_black};
  inversion_walk(circles, walker, rules, frame);  // circle 0 at even steps, circle 1 at odd
  show_picture();
  wait_for_key();

  // ---- picture 2: the filled circles and generation 1 ----
  store_circles();
  for (int k = 0; k < 2; ++k)
    fill_disc(frame_column(frame, current_circles.x[k]), frame_row(frame, current_circles.y[k]),
              frame_radius(frame, current_circles.r[k]), colour_blue);
  invert_pair(colour_black);
  show_picture();
  wait_for_key();

  // ---- picture 3: generation 2 ----
  copy_images();
  invert_pair(colour_red);
  show_picture();
  wait_for_key();

  // ---- picture 4: generation 3 (pixel radius 0, still drawn) ----
  copy_images();
  invert_pair(colour_black);
  show_picture();
  wait_for_key();
  return 0;
}

static void store_circles() {
  for (int k = 0; k < 2; ++k)
    set_circle(generation.current, k, circle_x[k], circle_y[k], circle_r[k]);
}

// Each circle inverted in the other; the image lands in the slot of its
// mirror and is filled at once from its stored floats.
static void invert_pair(Uint32 colour) {
  for (int i = 0; i < 2; ++i) {
    const int j = 1 - i;
    invert_circle(generation, i, current_circles.x[i], current_circles.y[i],
                  current_circles.r[i] * current_circles.r[i], current_circles.x[j],
                  current_circles.y[j], current_circles.r[j], colour, frame);
  }
}

static void copy_images() {
  for (int k = 0; k < 2; ++k)
    set_circle(generation.current, k, next_circles.x[k], next_circles.y[k], next_circles.r[k]);
}
