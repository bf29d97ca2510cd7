// Filled disc: the shared quarter walk, one horizontal span per step on each
// of the two mirrored rows, clipped to the window.
#pragma once

#include <SDL.h>

void fill_disc(int cx, int cy, int r, Uint32 colour);
