// The window as a canvas, and the raster kit's calls as the programs make
// them: each draws on screen_canvas(), through its canvas form.
#pragma once

#include <SDL.h>

#include "canvas.h"
#include "circle_stamp.h"
#include "display.h"

// The window's 800 x 600 pixels of the screen surface (a smaller surface:
// its own size), rows stepped by its pitch.
inline Canvas screen_canvas() {
  return {static_cast<std::uint32_t*>(screen->pixels), screen->w < window_width ? screen->w : window_width,
          screen->h < window_height ? screen->h : window_height, screen->pitch / 4};
}

void draw_line(int x0, int y0, int x1, int y1, Uint32 colour);
void draw_circle(int cx, int cy, int r, Uint32 colour);
void fill_disc(int cx, int cy, int r, Uint32 colour);

inline void draw_stamp(const CircleStamp& stamp, int cx, int cy, Uint32 colour) {
  draw_stamp(screen_canvas(), stamp, cx, cy, colour);
}
