#include "inversion_walk.h"

#include "circle_stamp.h"

#include <algorithm>

template <typename Real>
static WalkCircles widen(const Real* x, const Real* y, int n) {
  WalkCircles circles{};
  circles.n = n < 0 ? 0 : (n > max_walk_circles ? max_walk_circles : n);
  for (int k = 0; k < circles.n; ++k) {
    circles.x[k] = x[k];
    circles.y[k] = y[k];
  }
  return circles;
}

WalkCircles walk_circles(const float* x, const float* y, const double* radii_squared, int n) {
  WalkCircles circles = widen(x, y, n);
  for (int k = 0; k < circles.n; ++k) circles.R2[k] = radii_squared[k];
  return circles;
}

WalkCircles walk_circles(const double* x, const double* y, const double* radii_squared, int n) {
  WalkCircles circles = widen(x, y, n);
  for (int k = 0; k < circles.n; ++k) circles.R2[k] = radii_squared[k];
  return circles;
}

WalkCircles walk_circles_squaring(const float* x, const float* y, const float* r, int n) {
  WalkCircles circles = widen(x, y, n);
  for (int k = 0; k < circles.n; ++k) circles.R2[k] = r[k] * r[k];
  return circles;
}

// Whether circle k can take the point: it has an image (not the centre) and,
// under the refuse rule, does not lie strictly inside.
template <InsideRule inside>
static inline bool takes(const WalkCircles& c, int k, double x, double y) {
  const double dx = x - c.x[k];
  const double dy = y - c.y[k];
  const double d2 = dx * dx + dy * dy;
  return d2 > 0 && !(inside == InsideRule::refuse && c.R2[k] > d2);
}

template <InsideRule inside>
static bool any_other_takes(const WalkCircles& c, int previous, double x, double y) {
  for (int k = 0; k < c.n; ++k)
    if (k != previous && takes<inside>(c, k, x, y)) return true;
  return false;
}

// The value a 32-bit float walk point holds. Kept out of line on purpose:
// GCC 12's SLP vectoriser (-O2 and up) drops the double -> float -> double
// round trip when x and y are rounded side by side, so the walk would go on
// from the unrounded point.
[[gnu::noinline]] static double to_float_width(double v) { return static_cast<float>(v); }

// x % n for any 32-bit x by two multiplications instead of a division (the
// remainder is exact: the fraction x / n is carried in 64 bits, which is
// enough for every 32-bit x). A pick is the remainder of each draw.
struct Divisor {
  std::uint64_t reciprocal;  // 2^64 / n, rounded up
  std::uint32_t n;
};

static Divisor divisor_of(int n) {
  return {~std::uint64_t{0} / static_cast<std::uint32_t>(n) + 1, static_cast<std::uint32_t>(n)};
}

static inline int remainder_by(int x, const Divisor& d) {
  const std::uint64_t fraction = d.reciprocal * static_cast<std::uint32_t>(x);
  return static_cast<int>((static_cast<unsigned __int128>(fraction) * d.n) >> 64);
}

// A ring is draw_circle's, stamped from its offsets found once per walk.
// Always inlined: only there is the stamp a constant, its stores unrolled.
template <WalkPlot plot>
[[gnu::always_inline]] static inline void plot_point(const Canvas& canvas, const WorldFrame& frame,
                                                     double x, double y, std::uint32_t colour,
                                                     const CircleStamp& ring) {
  const int column = frame_column(frame, x);
  const int row = frame_row(frame, y);
  if constexpr (plot == WalkPlot::pixel)
    plot_clipped(canvas, column, row, colour);  // a point thrown far out is not drawn
  else
    draw_stamp(canvas, ring, column, row, colour);
}

// record: each point that would be plotted is stored in `points` instead
// (in step order), and the canvas is not touched. picked: recorded too, and
// step s's circle is picks[s] instead of a draw; the walk stops before the
// first step whose pick is refused, *taken saying how many steps it took.
enum class WalkMode { plot, record, picked };

template <PickRule pick, InsideRule inside, PointStorage storage, WalkPlot plot, WalkMode mode>
static WalkCounts walk(const Canvas& canvas, const WalkCircles& c, WalkState& state,
                       const WalkRules& rules, const WorldFrame& frame, RandomGenerator& generator,
                       WalkPoint* points, const int* picks, long* taken_steps) {
  constexpr bool record = mode != WalkMode::plot, picked = mode == WalkMode::picked;
  long plotted = 0, refused = 0;  // not the returned WalkCounts, which lives in memory
  bool stuck = false;
  double x = state.x;
  double y = state.y;
  if constexpr (storage == PointStorage::float_width) {
    x = to_float_width(x);
    y = to_float_width(y);
  }
  int previous = state.previous >= 0 && state.previous < c.n ? state.previous : no_previous;
  // Local copies of what every step reads: a pixel store through a 32-bit
  // word may alias any int or word of unknown origin (the generator's
  // words, the circle count, the colour, the frame's y direction, the
  // canvas's size), and a draw_circle call anything reachable; either
  // forces reloads per plot.
  RandomGenerator random;
  if constexpr (pick == PickRule::random && !picked) random = generator;
  const Canvas target = canvas;
  const int n = c.n;
  const std::uint32_t colour = rules.colour;
  const long burn_in = rules.burn_in;
  const WorldFrame f = frame;
  const Divisor divisor = divisor_of(n < 1 ? 1 : n);
  static constexpr CircleStamp ring = circle_stamp(plot == WalkPlot::ring2 ? 2 : 1);

  // A random pick with no repeat needs a second circle to go to: over one
  // circle the walk can take at most one step.
  long steps = rules.steps;
  if (c.n < 1 || (pick == PickRule::random && c.n < 2)) {
    const long possible = c.n < 1 || previous == 0 ? 0 : 1;
    if (steps > possible) {
      steps = possible;
      stuck = true;
    }
  }

  long s = 0;
  for (; s < steps; ++s) {
    int k;
    double dx, dy, d2;
    bool taken;
    for (;;) {
      if constexpr (pick == PickRule::cyclic) {
        k = static_cast<int>(s % n);
      } else if constexpr (picked) {
        k = picks[s];
      } else {
        do k = remainder_by(next_random(random), divisor);
        while (k == previous);
      }
      dx = x - c.x[k];
      dy = y - c.y[k];
      d2 = dx * dx + dy * dy;
      taken = d2 > 0 && !(inside == InsideRule::refuse && c.R2[k] > d2);
      if (taken || picked) break;  // a refused given pick: the caller draws this step's
      ++refused;
      if (pick == PickRule::cyclic || !any_other_takes<inside>(c, previous, x, y)) break;
    }
    if (!taken) {
      if constexpr (picked) break;
      if constexpr (pick == PickRule::cyclic) continue;  // no other circle to try at this step
      stuck = true;
      break;
    }
    const double nx = c.x[k] + dx * c.R2[k] / d2;
    const double ny = c.y[k] + dy * c.R2[k] / d2;
    previous = k;
    // The plot uses the point as computed; a float walk point is rounded
    // only when it is stored.
    if (s >= burn_in) {
      if constexpr (record)
        points[plotted] = {nx, ny};
      else
        plot_point<plot>(target, f, nx, ny, colour, ring);
      ++plotted;
    }
    if constexpr (storage == PointStorage::float_width) {
      x = to_float_width(nx);
      y = to_float_width(ny);
    } else {
      x = nx;
      y = ny;
    }
  }
  state.x = x;
  state.y = y;
  state.previous = previous;
  if constexpr (pick == PickRule::random && !picked) generator = random;
  if constexpr (picked) *taken_steps = s;
  return {plotted, refused, stuck};
}

// The walk's arguments, passed down the dispatch unchanged.
struct WalkCall {
  const Canvas& canvas;
  const WalkCircles& circles;
  WalkState& state;
  const WalkRules& rules;
  const WorldFrame& frame;
  RandomGenerator& random;
  WalkPoint* points;  // non-null: record the points instead of plotting
};

template <PickRule pick, InsideRule inside, PointStorage storage, WalkPlot plot>
static WalkCounts run(const WalkCall& a) {
  return walk<pick, inside, storage, plot, WalkMode::plot>(a.canvas, a.circles, a.state, a.rules,
                                                           a.frame, a.random, nullptr, nullptr, nullptr);
}

template <PickRule pick, InsideRule inside, PointStorage storage>
static WalkCounts dispatch_plot(const WalkCall& a) {
  if (a.points != nullptr)
    return walk<pick, inside, storage, WalkPlot::pixel, WalkMode::record>(
        a.canvas, a.circles, a.state, a.rules, a.frame, a.random, a.points, nullptr, nullptr);
  switch (a.rules.plot) {
    case WalkPlot::pixel: return run<pick, inside, storage, WalkPlot::pixel>(a);
    case WalkPlot::ring1: return run<pick, inside, storage, WalkPlot::ring1>(a);
    case WalkPlot::ring2: break;
  }
  return run<pick, inside, storage, WalkPlot::ring2>(a);
}

template <PickRule pick, InsideRule inside>
static WalkCounts dispatch_storage(const WalkCall& a) {
  if (a.rules.storage == PointStorage::float_width)
    return dispatch_plot<pick, inside, PointStorage::float_width>(a);
  return dispatch_plot<pick, inside, PointStorage::double_width>(a);
}

template <PickRule pick>
static WalkCounts dispatch_inside(const WalkCall& a) {
  if (a.rules.inside == InsideRule::refuse) return dispatch_storage<pick, InsideRule::refuse>(a);
  return dispatch_storage<pick, InsideRule::invert>(a);
}

WalkCounts inversion_walk(const Canvas& canvas, const WalkCircles& circles, WalkState& state,
                          const WalkRules& rules, const WorldFrame& frame, RandomGenerator& random) {
  const WalkCall call{canvas, circles, state, rules, frame, random, nullptr};
  if (rules.pick == PickRule::cyclic) return dispatch_inside<PickRule::cyclic>(call);
  return dispatch_inside<PickRule::random>(call);
}

WalkCounts inversion_walk_points(const WalkCircles& circles, WalkState& state,
                                 const WalkRules& rules, RandomGenerator& random,
                                 WalkPoint* points) {
  std::uint32_t spare_pixel = 0;
  const Canvas unused{&spare_pixel, 1, 1, 1};
  const WorldFrame frame{1, 0, 0, YAxis::up};
  const WalkCall call{unused, circles, state, rules, frame, random, points};
  if (rules.pick == PickRule::cyclic) return dispatch_inside<PickRule::cyclic>(call);
  return dispatch_inside<PickRule::random>(call);
}

WalkCounts inversion_walk_picked(const WalkCircles& circles, WalkState& state,
                                 const WalkRules& rules, const int* picks, WalkPoint* points,
                                 long& taken) {
  taken = 0;
  if (rules.pick != PickRule::random || rules.inside != InsideRule::invert || circles.n < 2)
    return {0, 0, false};
  std::uint32_t spare_pixel = 0;
  const Canvas unused{&spare_pixel, 1, 1, 1};
  const WorldFrame frame{1, 0, 0, YAxis::up};
  RandomGenerator unused_random{};
  constexpr PickRule random = PickRule::random;
  constexpr InsideRule invert = InsideRule::invert;
  constexpr WalkPlot pixel = WalkPlot::pixel;
  if (rules.storage == PointStorage::float_width)
    return walk<random, invert, PointStorage::float_width, pixel, WalkMode::picked>(
        unused, circles, state, rules, frame, unused_random, points, picks, &taken);
  return walk<random, invert, PointStorage::double_width, pixel, WalkMode::picked>(
      unused, circles, state, rules, frame, unused_random, points, picks, &taken);
}

void draw_picks(RandomGenerator& random, int& previous, int n, int* picks, long count) {
  const Divisor divisor = divisor_of(n < 1 ? 1 : n);
  RandomGenerator local = random;  // in registers, not aliased by the stores
  int last = previous >= 0 && previous < n ? previous : no_previous;
  // Branch-free: every draw is stored, and kept (the count moves on) unless
  // it repeats the last pick; the loop's one branch is its end.
  for (long kept = 0; kept < count;) {
    const int k = remainder_by(next_random(local), divisor);
    picks[kept] = k;
    const bool keep = k != last;
    kept += keep;
    last = keep ? k : last;
  }
  random = local;
  previous = last;
}

void plot_walk_points(const Canvas& canvas, const WorldFrame& frame, const WalkPoint* points,
                      long count, WalkPlot plot, std::uint32_t colour, int first_row, int end_row) {
  const int top = std::clamp(first_row, 0, canvas.height);
  const int bottom = std::clamp(end_row, top, canvas.height);
  // The band as a canvas of its own: a plot clipped to it is the part of
  // the whole canvas's plot that falls in these rows.
  const Canvas band{canvas_pixel(canvas, 0, 0) + static_cast<std::ptrdiff_t>(top) * canvas.stride,
                    canvas.width, bottom - top, canvas.stride};
  const int margin = plot == WalkPlot::pixel ? 0 : (plot == WalkPlot::ring1 ? 1 : 2);
  static constexpr CircleStamp ring_1 = circle_stamp(1), ring_2 = circle_stamp(2);
  const CircleStamp& ring = plot == WalkPlot::ring2 ? ring_2 : ring_1;
  for (long i = 0; i < count; ++i) {
    const int column = frame_column(frame, points[i].x);
    const int row = frame_row(frame, points[i].y);
    // Only rows within the ring's reach of the band; past it, row - top
    // could overflow an int.
    if (row < top - margin || row >= bottom + margin) continue;
    if (plot == WalkPlot::pixel)
      plot_clipped(band, column, row - top, colour);
    else
      draw_stamp(band, ring, column, row - top, colour);
  }
}
