// The random inversion walk: the orbit of one point under a long sequence
// of inversions in circles of a set, each step's new point plotted once the
// burn-in is over. It paints the limit set of the group the inversions
// generate (the chaos game).
//
// One walk: pick a circle (next_random(random) % n, drawn again while it
// equals the previous index; or cyclically s mod n), optionally refuse the
// pick when the point lies strictly inside the circle (no step is counted),
// invert the point, remember the index, and plot the new point on the
// canvas unless it is one of the first burn_in steps (s >= burn_in). The walk never seeds the generator it is given;
// every pick, kept or drawn again, consumes one of its values, and a cyclic
// walk consumes none.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "random_generator.h"
#include "world_frame.h"

// The rules are named by the scene format's words ("random", "refuse",
// "ring1"); a point is stored at double or float width (C++'s keywords).
enum class PickRule { random, cyclic };
enum class InsideRule { invert, refuse };
enum class PointStorage { double_width, float_width };
// pixel: one clipped put_pixel (a point off the canvas is not drawn);
// ring: draw_circle of pixel radius 1 or 2, clipped as every rasteriser is.
enum class WalkPlot { pixel, ring1, ring2 };

constexpr int max_walk_circles = 16;
constexpr int no_previous = -1;
constexpr long no_burn_in = 0;  // every step plots, from step 0 on

// The circle set as the walk reads it: centres widened to double (exact) and
// the radii squared.
struct WalkCircles {
  int n;
  double x[max_walk_circles];
  double y[max_walk_circles];
  double R2[max_walk_circles];
};

// Radii squared taken from the program's table.
WalkCircles walk_circles(const float* x, const float* y, const double* radii_squared, int n);
WalkCircles walk_circles(const double* x, const double* y, const double* radii_squared, int n);
// Radii squared formed from the stored float radii (r * r in float, widened),
// the same value a per-step product gives, since the set never changes
// during a walk.
WalkCircles walk_circles_squaring(const float* x, const float* y, const float* r, int n);

// The walk's state, which outlives a walk where the program keeps it.
struct WalkState {
  double x;  // the walk point; holds a float value under float storage
  double y;
  int previous;  // index of the last circle used, or no_previous
};

struct WalkRules {
  PickRule pick;
  InsideRule inside;
  PointStorage storage;
  long steps;    // S: steps numbered 0 .. S - 1
  long burn_in;  // B: the first B steps are not plotted (step s plots if s >= B)
  WalkPlot plot;
  std::uint32_t colour;
};

struct WalkCounts {
  long plotted;  // points handed to the plot primitive
  long refused;  // picks refused by the inside rule (not steps)
  bool stuck;    // ended early: no circle could take the point
};

// A pick whose point sits on the chosen centre (no image) is refused like a
// pick from inside; under the cyclic rule that step is passed over. A walk
// whose every candidate circle refuses the point ends early (stuck), as
// does a random walk over fewer than two circles.
WalkCounts inversion_walk(const Canvas& canvas, const WalkCircles& circles, WalkState& state,
                          const WalkRules& rules, const WorldFrame& frame, RandomGenerator& random);

// The same walk with its plots handed over instead of drawn: the point of
// every step that would plot is stored in `points` (room for rules.steps
// of them), in step order, and the counts say how many. plot_walk_points
// then draws them: the rows first_row .. end_row - 1 of what the walk
// would have plotted on `canvas` (all of it for rows 0 .. height), so
// bands of rows can be drawn by different threads. A walk's plots are all
// of one colour, so the order they land in leaves the same pixels.
struct WalkPoint {
  double x;
  double y;
};

WalkCounts inversion_walk_points(const WalkCircles& circles, WalkState& state,
                                 const WalkRules& rules, RandomGenerator& random,
                                 WalkPoint* points);

// The picks of a random walk drawn ahead of it: picks[0 .. count - 1] are
// the circles the walk's next count steps pick (each a draw's remainder,
// drawn again while it repeats the last), unless a pick is refused.
// `random` and `previous` are left as those steps leave them. Under the
// invert rule a pick is refused only where the point lies on the circle's
// centre (or is not finite), so the picks depend on nothing else.
void draw_picks(RandomGenerator& random, int& previous, int n, int* picks, long count);

// inversion_walk_points of a random walk under the invert rule (over two
// circles or more) with its picks given, from draw_picks: the walk's own
// arithmetic, step for step, without the draws. It stops before the first
// step whose pick is refused, `taken` saying how many steps it took; the
// walk goes on from there with the generator as it stood before that
// step's draws. Any other rules take no step.
WalkCounts inversion_walk_picked(const WalkCircles& circles, WalkState& state,
                                 const WalkRules& rules, const int* picks, WalkPoint* points,
                                 long& taken);

void plot_walk_points(const Canvas& canvas, const WorldFrame& frame, const WalkPoint* points,
                      long count, WalkPlot plot, std::uint32_t colour, int first_row, int end_row);
