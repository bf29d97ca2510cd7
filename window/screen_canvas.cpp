#include "screen_canvas.h"

#include "draw_circle.h"
#include "draw_line.h"
#include "fill_disc.h"

void draw_line(int x0, int y0, int x1, int y1, Uint32 colour) {
  draw_line(screen_canvas(), x0, y0, x1, y1, colour);
}

void draw_circle(int cx, int cy, int r, Uint32 colour) { draw_circle(screen_canvas(), cx, cy, r, colour); }

void fill_disc(int cx, int cy, int r, Uint32 colour) { fill_disc(screen_canvas(), cx, cy, r, colour); }
