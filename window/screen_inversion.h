// The inversion routines as the programs call them: each draws on the
// window (screen_canvas()) through its canvas form, and the walk draws its
// random numbers from program_random.
#pragma once

#include <SDL.h>

#include "circle_generation.h"
#include "coaxal_circles.h"
#include "inversion_walk.h"
#include "invert_circle.h"

WalkCounts inversion_walk(const WalkCircles& circles, WalkState& state, const WalkRules& rules,
                          const WorldFrame& frame);

bool grow_generation(CircleGeneration& generation, const WorldFrame& frame, Uint32 colour);
bool grow_generation(CircleGeneration& generation, const WorldFrame& frame, ImageColour colour);
void invert_circle(CircleGeneration& generation, int slot, double cx, double cy, double R2,
                   double dx, double dy, double rho, Uint32 colour, const WorldFrame& frame);
void invert_circle(double dx, double dy, double rho, double cx, double cy, double R2,
                   Uint32 colour, const WorldFrame& frame);

void radical_axis(const CircleEquation& first, const CircleEquation& second,
                  const WorldFrame& frame, Uint32 colour);
