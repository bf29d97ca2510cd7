// Inversion of a circle in a mirror circle, and its two drawing forms.
//
// The image of the circle (dx, dy, rho) in the mirror with centre (cx, cy)
// and radius squared R2 has centre c + (d - c) l and radius |rho l|, with
// l = R2 / den and den = |d - c|^2 - rho^2, the power of the mirror centre
// with respect to the circle. A circle through the mirror centre (den = 0)
// has a line as its image: the result is then not finite and is never drawn.
//
// The outline form stores nothing and draws the outline from the
// full-precision values; the storing form, which fills a slot of a circle
// generation, lives with the generations (circle_generation.h).
#pragma once

#include <cstdint>

#include "canvas.h"
#include "circle.h"
#include "world_frame.h"

Circle image_circle(double cx, double cy, double R2, double dx, double dy, double rho);

// Outline form: the circle to invert first, then the mirror.
void invert_circle(const Canvas& canvas, double dx, double dy, double rho, double cx, double cy,
                   double R2, std::uint32_t colour, const WorldFrame& frame);
