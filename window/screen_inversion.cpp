#include "screen_inversion.h"

#include "random_generator.h"
#include "screen_canvas.h"

WalkCounts inversion_walk(const WalkCircles& circles, WalkState& state, const WalkRules& rules,
                          const WorldFrame& frame) {
  return inversion_walk(screen_canvas(), circles, state, rules, frame, program_random);
}

bool grow_generation(CircleGeneration& generation, const WorldFrame& frame, Uint32 colour) {
  return grow_generation(screen_canvas(), generation, frame, colour);
}

bool grow_generation(CircleGeneration& generation, const WorldFrame& frame, ImageColour colour) {
  return grow_generation(screen_canvas(), generation, frame, colour);
}

void invert_circle(CircleGeneration& generation, int slot, double cx, double cy, double R2,
                   double dx, double dy, double rho, Uint32 colour, const WorldFrame& frame) {
  invert_circle(screen_canvas(), generation, slot, cx, cy, R2, dx, dy, rho, colour, frame);
}

void invert_circle(double dx, double dy, double rho, double cx, double cy, double R2,
                   Uint32 colour, const WorldFrame& frame) {
  invert_circle(screen_canvas(), dx, dy, rho, cx, cy, R2, colour, frame);
}

void radical_axis(const CircleEquation& first, const CircleEquation& second,
                  const WorldFrame& frame, Uint32 colour) {
  radical_axis(screen_canvas(), first, second, frame, colour);
}
