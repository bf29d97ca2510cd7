// Integer line rasteriser: both ends included, error starting at 0 so the
// minor coordinate lags toward the start, clipped to the canvas.
//
// Step i of the walk along the major axis (0 <= i <= L, L the major extent,
// m the minor one) sits i along it and floor(i m / L) across, so the steps
// that show on the canvas form one run of i, found by division; the walk
// starts there with its error i m mod L. A segment of any length costs what
// it shows, pixel for pixel the same as walking it whole.
#pragma once

#include <cstdint>

#include "canvas.h"

void draw_line(const Canvas& canvas, int x0, int y0, int x1, int y1, std::uint32_t colour);
