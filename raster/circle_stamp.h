// A small circle outline as a list of offsets, for drawing the same tiny
// ring at many places (the walk's ring plots): the positions draw_circle
// would plot, found once by the same quarter walk, then stamped with the
// canvas test skipped where the whole ring lies on the canvas.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "quarter_walk.h"

constexpr int max_stamp_radius = 2;
constexpr int max_stamp_points = 8 * max_stamp_radius + 4;

struct CircleStamp {
  int radius;
  int count;
  int dx[max_stamp_points];
  int dy[max_stamp_points];
};

// The offsets draw_circle(0, 0, r) plots, each once, in the order it plots
// them; r from 0 to max_stamp_radius. constexpr, so a stamp of a fixed
// radius is a constant and stamping it an unrolled run of stores.
constexpr CircleStamp circle_stamp(int r) {
  if (r < 0) r = 0;
  if (r > max_stamp_radius) r = max_stamp_radius;
  CircleStamp stamp{r, 0, {}, {}};
  const auto add = [&stamp](std::int64_t dx, std::int64_t dy) {
    for (int i = 0; i < stamp.count; ++i)
      if (stamp.dx[i] == dx && stamp.dy[i] == dy) return;
    if (stamp.count == max_stamp_points) return;  // cannot happen for r <= max_stamp_radius
    stamp.dx[stamp.count] = static_cast<int>(dx);
    stamp.dy[stamp.count++] = static_cast<int>(dy);
  };
  add(0, r);
  add(0, -r);
  quarter_walk(r, [&](std::int64_t dx, std::int64_t dy) {
    add(dx, dy);
    add(dx, -dy);
    add(-dx, dy);
    add(-dx, -dy);
  });
  add(r, 0);
  add(-r, 0);
  return stamp;
}

// draw_circle(canvas, cx, cy, stamp.radius, colour), pixel for pixel.
inline void draw_stamp(const Canvas& canvas, const CircleStamp& stamp, int cx, int cy,
                       std::uint32_t colour) {
  const int r = stamp.radius;
  if (cx >= r && cx < canvas.width - r && cy >= r && cy < canvas.height - r) {
    // Addressed from the centre: for a constant stamp, a few row offsets
    // and an unrolled run of stores.
    std::uint32_t* const centre = canvas_pixel(canvas, cx, cy);
    for (int i = 0; i < stamp.count; ++i) {
      RASTER_BOUNDS(canvas, "draw_stamp", cx + stamp.dx[i], cy + stamp.dy[i]);
      centre[static_cast<std::ptrdiff_t>(stamp.dy[i]) * canvas.stride + stamp.dx[i]] = colour;
    }
  } else {
    for (int i = 0; i < stamp.count; ++i)
      plot_clipped(canvas, static_cast<std::int64_t>(cx) + stamp.dx[i],
                   static_cast<std::int64_t>(cy) + stamp.dy[i], colour);
  }
}
