// Circle outline: the shared quarter walk mirrored into four quarters,
// every position clipped to the window.
#pragma once

#include <SDL.h>

void draw_circle(int cx, int cy, int r, Uint32 colour);
