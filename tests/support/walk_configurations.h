// The programs' walk configurations with their frames and walk rules, read
// from program_circles.h, for comparing the limit set drawn word by word
// with the walk: circles as doubles (a float program's values widened) and
// the walk's circle set as the program builds it.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "circle.h"
#include "inversion_walk.h"
#include "nested_discs.h"
#include "program_circles.h"
#include "random_generator.h"

struct WalkConfiguration {
  std::string name;
  int n;
  Circle circle[max_walk_circles];
  bool float_numbers;  // radii squared as float products, as the program does
  WorldFrame frame;
  PickRule pick;
  InsideRule inside;
  PointStorage storage;
  Point start;
};

inline WalkCircles walk_set(const WalkConfiguration& c) {
  double x[max_walk_circles], y[max_walk_circles], R2[max_walk_circles];
  for (int k = 0; k < c.n; ++k) {
    x[k] = c.circle[k].x;
    y[k] = c.circle[k].y;
    const float r = static_cast<float>(c.circle[k].r);
    R2[k] = c.float_numbers ? r * r : c.circle[k].r * c.circle[k].r;
  }
  return walk_circles(x, y, R2, c.n);
}

inline WalkConfiguration float_configuration(const std::string& name, int n, const float* x,
                                             const float* y, const float* r,
                                             const WorldFrame& frame) {
  WalkConfiguration c{name, n, {}, true, frame, PickRule::random, InsideRule::invert,
                      PointStorage::double_width, {10.0, 3.0}};
  for (int k = 0; k < n; ++k) c.circle[k] = {x[k], y[k], r[k]};
  return c;
}

// soddy_radius_sweep at pass p (1 to 15): t summed as the program sums it.
inline WalkConfiguration soddy_sweep_pass(int pass) {
  namespace p = soddy_radius_sweep_circles;
  double t = p::first_t;
  for (int k = 1; k < pass; ++k) t = t + p::t_step;
  float x[4], y[4], r[4];
  p::store(t, x, y, r);
  WalkConfiguration c = float_configuration("soddy_radius_sweep pass " + std::to_string(pass), 4,
                                            x, y, r, p::frame);
  c.inside = InsideRule::refuse;
  return c;
}

// Every configuration a program walks in, ring_zoom at its first stage and
// soddy_radius_sweep at the passes that nest and the first that does not.
inline std::vector<WalkConfiguration> walk_configurations() {
  std::vector<WalkConfiguration> all;
  all.push_back(float_configuration("soddy_gasket", 3, soddy_gasket_circles::x,
                                    soddy_gasket_circles::y, soddy_gasket_circles::r,
                                    soddy_gasket_circles::frame));
  for (int i = 0; i < 3; ++i) {
    namespace p = five_circle_limit_circles;
    WalkConfiguration c{"five_circle_limit " + std::to_string(i + 1), 5, {}, false, p::frame,
                        PickRule::random, InsideRule::invert, PointStorage::double_width,
                        {3.0, 3.0}};
    for (int k = 0; k < 5; ++k)
      c.circle[k] = {p::configurations[i].x[k], p::configurations[i].y[k],
                     p::configurations[i].r[k]};
    all.push_back(c);
  }
  {
    double x[15], y[15], r[15];
    ring_zoom_circles::first_stage(x, y, r);
    WalkConfiguration c{"ring_zoom", 15, {}, false, ring_zoom_circles::frame,
                        PickRule::random, InsideRule::invert, PointStorage::double_width,
                        {3.0, 3.0}};
    for (int k = 0; k < 15; ++k) c.circle[k] = {x[k], y[k], r[k]};
    all.push_back(c);
  }
  {
    namespace p = four_circle_packing_circles;
    WalkConfiguration c = float_configuration("four_circle_packing", 4, p::x, p::y, p::r, p::frame);
    c.storage = PointStorage::float_width;
    c.start = {0.0, -5.0};
    all.push_back(c);
  }
  {
    namespace p = two_circle_iteration_circles;
    WalkConfiguration c = float_configuration("two_circle_iteration", 2, p::x, p::y, p::r, p::frame);
    c.pick = PickRule::cyclic;
    all.push_back(c);
  }
  for (int pass = 1; pass <= 4; ++pass) all.push_back(soddy_sweep_pass(pass));
  return all;
}

// `steps` steps of the configuration's walk on the canvas, one pixel a
// point, the first 1001 not plotted (as the programs: step s > 1000).
inline void walk_pixels(const WalkConfiguration& c, const Canvas& canvas, long steps,
                        std::uint32_t seed, std::uint32_t colour) {
  RandomGenerator random;
  seed_random(random, seed);
  WalkState state{c.start.x, c.start.y, no_previous};
  const WalkRules rules{c.pick, c.inside, c.storage, steps, 1001, WalkPlot::pixel, colour};
  inversion_walk(canvas, walk_set(c), state, rules, c.frame, random);
}

// Of the pixels of `a` that are not `background`, how many have none in
// b's 3 x 3 neighbourhood (far), and how many there are (all).
struct FarPixels {
  long far;
  long all;
};

inline FarPixels far_from(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                          int width, int height, std::uint32_t background) {
  FarPixels count{0, 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (a[y * width + x] == background) continue;
      bool near = false;
      for (int v = y > 0 ? y - 1 : 0; v <= y + 1 && v < height; ++v)
        for (int u = x > 0 ? x - 1 : 0; u <= x + 1 && u < width; ++u)
          near = near || b[v * width + u] != background;
      count.far += !near;
      ++count.all;
    }
  return count;
}

// The circle through the points of contact of three touching circles, the
// limit set of the inversions in them; `contact` is that of circles 0 and 1.
inline Circle contact_circle(const WalkConfiguration& c, Point& contact) {
  Point p[3];
  for (int i = 0; i < 3; ++i) {
    const Circle &a = c.circle[i], &b = c.circle[(i + 1) % 3];
    p[i] = {a.x + (b.x - a.x) * a.r / (a.r + b.r), a.y + (b.y - a.y) * a.r / (a.r + b.r)};
  }
  contact = p[0];
  const auto q = [&](int i) { return p[i].x * p[i].x + p[i].y * p[i].y; };
  const double d = 2 * (p[0].x * (p[1].y - p[2].y) + p[1].x * (p[2].y - p[0].y) +
                        p[2].x * (p[0].y - p[1].y));
  const double ux = (q(0) * (p[1].y - p[2].y) + q(1) * (p[2].y - p[0].y) + q(2) * (p[0].y - p[1].y)) / d;
  const double uy = (q(0) * (p[2].x - p[1].x) + q(1) * (p[0].x - p[2].x) + q(2) * (p[1].x - p[0].x)) / d;
  return {ux, uy, std::hypot(p[0].x - ux, p[0].y - uy)};
}

// The circle as `samples` points evenly around it, each a clipped pixel.
inline void plot_circle_points(const Canvas& canvas, const WorldFrame& frame, const Circle& c,
                               long samples, std::uint32_t colour) {
  for (long a = 0; a < samples; ++a) {
    const double angle = 2 * M_PI * a / samples;
    plot_clipped(canvas, frame_column(frame, c.x + c.r * std::cos(angle)),
                 frame_row(frame, c.y + c.r * std::sin(angle)), colour);
  }
}
