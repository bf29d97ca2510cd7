// Circle outline: the shared quarter walk (quarter_walk.h) mirrored into
// four quarters, clipped to the canvas. Only the rows and columns the canvas
// shows are visited (quarter_rows.h), so a circle of any radius and centre
// costs what it shows, pixel for pixel the same as walking it whole.
#pragma once

#include <cstdint>

#include "canvas.h"

void draw_circle(const Canvas& canvas, int cx, int cy, int r, std::uint32_t colour);
