// Filled disc: on every row the quarter walk (quarter_walk.h) reaches, the
// span between its mirrored outer points, clipped to the canvas. Only the
// rows the canvas shows are visited, each span cut to the canvas first
// (quarter_rows.h): the same pixels as walking the whole disc, at the cost
// of what shows.
#pragma once

#include <cstdint>

#include "canvas.h"

void fill_disc(const Canvas& canvas, int cx, int cy, int r, std::uint32_t colour);
