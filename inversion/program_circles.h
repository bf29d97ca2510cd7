// The circle sets, frames and walk lengths of the programs that are also
// offered as scenes (scene/program_scenes.cpp), written once: each program
// and its scenes read these constants, so a change here changes both alike.
// A walk's burn_in is the steps it does not plot: the program plots step s
// when s > B, so its burn_in is B + 1.
//
// Values a program stores as floats are floats here, rounded from the
// exact values as the program always did.
#pragma once

#include <cmath>

#include "world_frame.h"

namespace soddy_gasket_circles {
constexpr WorldFrame frame{200.0, 400.0, 300.0, YAxis::up};
constexpr double sqrt3 = 1.7320508075688772;
constexpr float x[3] = {0.0f, 0.0f, static_cast<float>(-sqrt3)};
constexpr float y[3] = {0.0f, 2.0f, -1.0f};
constexpr float r[3] = {static_cast<float>(2.0 - sqrt3), static_cast<float>(sqrt3),
                        static_cast<float>(sqrt3)};
constexpr long walk_steps = 500000;
constexpr long burn_in = 1001;  // the program plots s > 1000
}  // namespace soddy_gasket_circles

namespace five_circle_limit_circles {
constexpr WorldFrame frame{5.0, 400.0, 300.0, YAxis::up};
// Circles 0 to 3 form the ring, circle 4 is the outer circle.
struct Configuration {
  double x[5];
  double y[5];
  double r[5];
};
constexpr Configuration configurations[3] = {
    {
        {1, -1, -1, 1, 0},
        {1, 1, -1, -1, 0},
        {1, 1, 1, 1, 2.414},  // three decimals, not 1 + sqrt(2)
    },
    {
        {3.414213562373095, 0, -3.414213562373095, 0, 0},
        {0, 3.414213562373095, 0, -3.414213562373095, 0},
        {2.414213562373095, 2.414213562373095, 2.414213562373095, 2.414213562373095,
         5.82842712474619},
    },
    {
        {5.82842712474619, 5.82842712474619, -5.82842712474619, -5.82842712474619, 0},
        {-5.82842712474619, 5.82842712474619, 5.82842712474619, -5.82842712474619, 0},
        {5.82842712474619, 5.82842712474619, 5.82842712474619, 5.82842712474619,
         14.071067811865474},
    },
};
constexpr long walk_steps = 100000;
}  // namespace five_circle_limit_circles

namespace ring_zoom_circles {
constexpr WorldFrame frame{10.0, 400.0, 300.0, YAxis::up};
constexpr double angle = 0.2243994752564138;  // pi / 14
constexpr double pi = 3.141592653589793;
constexpr int ring_count = 14;
constexpr int central = 14;  // index of the central circle
constexpr long first_walk_steps = 100000;  // stage 0; each later stage 120000 more
constexpr long burn_in = 10001;  // the program plots s > 10000

// Ring circles 1 to 13: circle 0 turned by 2 j pi / 14 about the origin,
// with its radius. Out of line, so the program and its scene compile the
// same sines and cosines, whatever either caller lets the compiler fold.
[[gnu::noinline]] inline void build_ring(double* x, double* y, double* r) {
  for (int j = 1; j < ring_count; ++j) {
    const double theta = (2 * j * pi) / 14;
    x[j] = std::cos(theta) * x[0] - std::sin(theta) * y[0];
    y[j] = std::sin(theta) * x[0] + std::cos(theta) * y[0];
    r[j] = r[0];
  }
}

// The first stage: the unit central circle and ring circle 0 on the x axis,
// touching it and its neighbours; then the rest of the ring.
[[gnu::noinline]] inline void first_stage(double* x, double* y, double* r) {
  const double s = std::sin(angle);
  const double rho = s / (1 + s);
  x[central] = 0.0;
  y[central] = 0.0;
  r[central] = 1.0;
  x[0] = 1 - rho;
  y[0] = 0.0;
  r[0] = rho;
  build_ring(x, y, r);
}
}  // namespace ring_zoom_circles

namespace four_circle_packing_circles {
// The program draws y down (row = 150 + 230 y); its scenes, y up, negate y.
constexpr WorldFrame frame{230.0, 380.0, 150.0, YAxis::down};
constexpr float x[4] = {0.0f, -1.4f, 1.71f, 0.0f};
constexpr float y[4] = {0.1f, 0.0f, -0.198f, 2.5f};
constexpr float r[4] = {0.405f, 1.0f, 1.33f, 1.865f};
constexpr long walk_steps = 300000;
constexpr long burn_in = 1001;  // the program plots s > 1000
}  // namespace four_circle_packing_circles

namespace two_circle_iteration_circles {
constexpr WorldFrame frame{200.0, 400.0, 200.0, YAxis::up};
constexpr float x[2] = {0.0f, 0.0f};
constexpr float y[2] = {-2.0f, 2.2f};
constexpr float r[2] = {1.2f, 2.9f};
constexpr long walk_steps = 1000;
constexpr long burn_in = 11;  // the program plots s > 10
}  // namespace two_circle_iteration_circles

namespace soddy_radius_sweep_circles {
constexpr WorldFrame frame{120.0, 400.0, 300.0, YAxis::up};
constexpr float sqrt3 = 1.7320508f;  // the float nearest sqrt(3), 0x3FDDB3D7
constexpr double two_minus_sqrt3 = 0.2679491924311228;
constexpr double first_t = -0.2;
constexpr double t_step = 0.1;
constexpr double end_t = 1.3;
constexpr long walk_steps = 200000;
constexpr long burn_in = 2;  // the program plots s > 1

// Circle 0 about the origin with radius (2 - sqrt(3)) + t, summed in double
// and rounded to a float; circles 1 to 3 of radius sqrt(3) at distance 2.
inline void store(double t, float* x, float* y, float* r) {
  x[0] = 0.0f;
  y[0] = 0.0f;
  r[0] = static_cast<float>(t + two_minus_sqrt3);
  x[1] = 0.0f;
  y[1] = 2.0f;
  r[1] = sqrt3;
  x[2] = -sqrt3;
  y[2] = -1.0f;
  r[2] = sqrt3;
  x[3] = sqrt3;
  y[3] = -1.0f;
  r[3] = sqrt3;
}
}  // namespace soddy_radius_sweep_circles
