// World units to pixels: each program's scale, origin and y direction.
//
// column = truncate(origin_column + x * scale), row = truncate(origin_row -
// y * scale) with y up (+ with y down), radius = truncate(r * scale); the
// three conversions are independent. Truncation is toward zero, so -0.7
// becomes column 0, not -1.
//
// frame_x, frame_y and frame_size give the same positions before
// truncation, and frame_circle a world circle in pixels for
// draw_pixel_circle and fill_pixel_disc (pixel_circle.h), which draw
// circles of any size where these ints would clamp.
#pragma once

#include <climits>

#include "pixel_circle.h"

enum class YAxis { up, down };

struct WorldFrame {
  double scale;          // pixels per world unit
  double origin_column;  // pixel column of world x = 0
  double origin_row;     // pixel row of world y = 0
  YAxis y_axis;
};

// Truncation toward zero that is defined for every double: values beyond
// the int range clamp to it, and NaN goes to INT_MIN (far off screen).
inline int truncate_toward_zero(double v) {
  // NaN fails both tests. Likely: the walk's step loop keeps this path
  // straight.
  if (v > -2147483649.0 && v < 2147483648.0) [[likely]] return static_cast<int>(v);
  if (v != v) return INT_MIN;
  return v > 0 ? INT_MAX : INT_MIN;
}

inline double frame_x(const WorldFrame& frame, double x) { return frame.origin_column + x * frame.scale; }

inline double frame_y(const WorldFrame& frame, double y) {
  return frame.y_axis == YAxis::up ? frame.origin_row - y * frame.scale : frame.origin_row + y * frame.scale;
}

inline double frame_size(const WorldFrame& frame, double r) { return r * frame.scale; }

inline int frame_column(const WorldFrame& frame, double x) { return truncate_toward_zero(frame_x(frame, x)); }

inline int frame_row(const WorldFrame& frame, double y) { return truncate_toward_zero(frame_y(frame, y)); }

inline int frame_radius(const WorldFrame& frame, double r) { return truncate_toward_zero(frame_size(frame, r)); }

inline PixelCircle frame_circle(const WorldFrame& frame, double x, double y, double r) {
  return {frame_x(frame, x), frame_y(frame, y), frame_size(frame, r)};
}
