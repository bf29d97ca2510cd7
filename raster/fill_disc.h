// Filled disc: on every row the quarter walk (quarter_walk.h) reaches, the
// span between its mirrored outer points, clipped to the canvas. Only the
// rows the canvas shows are visited, each span cut to the canvas first
// (quarter_rows.h): the same pixels as walking the whole disc, at the cost
// of what shows.
//
// fill_disc_wide takes any 64-bit centre and radius, exactly; fill_disc is
// its 32-bit form. Discs given in doubles, of any size, are filled by
// fill_pixel_disc (pixel_circle.h).
#pragma once

#include <cstdint>

#include "canvas.h"

void fill_disc_wide(const Canvas& canvas, std::int64_t cx, std::int64_t cy, std::int64_t r,
                    std::uint32_t colour);

inline void fill_disc(const Canvas& canvas, int cx, int cy, int r, std::uint32_t colour) {
  fill_disc_wide(canvas, cx, cy, r, colour);
}
