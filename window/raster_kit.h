// The raster kit: display, colours, pixel access, key wait and the integer
// line and circle rasterisers. Everything a program draws goes through here.
// The rasterisers draw on any canvas (canvas.h); the forms without one draw
// on the window (screen_canvas.h).
#pragma once

#include "canvas.h"
#include "display.h"
#include "circle_stamp.h"
#include "draw_circle.h"
#include "draw_line.h"
#include "fill_disc.h"
#include "pixels.h"
#include "screen_canvas.h"
#include "wait_for_key.h"
