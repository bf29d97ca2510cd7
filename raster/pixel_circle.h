// Circles given in pixels as doubles, before any rounding, as a world frame
// gives them (frame_circle, world_frame.h), of any size and anywhere.
//
// Where centre and radius, truncated toward zero, fit in 64 bits, the
// circle is drawn exactly as draw_circle_wide and fill_disc_wide draw those
// integers, so a circle within 32 bits gives the pixels draw_circle gives.
// Beyond 64 bits (2^63, about 9.2 x 10^18 pixels), where neighbouring
// doubles are 2048 pixels apart, a circle that reaches any canvas has a
// radius over 2^62 and lies within a quarter of a pixel of a straight line
// across it: it is drawn as its tangent at its point nearest the canvas's
// centre, within about a pixel (the disc: the half-plane behind it). That
// point is found to 2^-100 of the radius, under a pixel up to 10^30 pixels.
// A centre or radius that is not finite draws nothing, and so does a radius
// of 0 or less beyond 64 bits.
#pragma once

#include <cstdint>

#include "canvas.h"

struct PixelCircle {
  double cx;  // column of the centre
  double cy;  // row of the centre
  double r;   // radius
};

void draw_pixel_circle(const Canvas& canvas, const PixelCircle& circle, std::uint32_t colour);
void fill_pixel_disc(const Canvas& canvas, const PixelCircle& circle, std::uint32_t colour);
