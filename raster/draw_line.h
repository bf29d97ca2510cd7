// Integer line rasteriser: both ends included, error starting at 0 so the
// minor coordinate lags toward the start, every position clipped to the
// window one by one (the walk itself never changes).
#pragma once

#include <SDL.h>

void draw_line(int x0, int y0, int x1, int y1, Uint32 colour);
