// Circle outline: the shared quarter walk (quarter_walk.h) mirrored into
// four quarters, clipped to the canvas. Only the rows and columns the canvas
// shows are visited (quarter_rows.h), so a circle of any radius and centre
// costs what it shows, pixel for pixel the same as walking it whole.
//
// draw_circle_wide takes any 64-bit centre and radius and draws the same
// pixels the walk would, exactly; draw_circle is its 32-bit form. Circles
// given in doubles, of any size, are drawn by draw_pixel_circle
// (pixel_circle.h).
#pragma once

#include <cstdint>

#include "canvas.h"

void draw_circle_wide(const Canvas& canvas, std::int64_t cx, std::int64_t cy, std::int64_t r,
                      std::uint32_t colour);

inline void draw_circle(const Canvas& canvas, int cx, int cy, int r, std::uint32_t colour) {
  draw_circle_wide(canvas, cx, cy, r, colour);
}
