#include "circle_stamp.h"

#include "quarter_walk.h"

static void add(CircleStamp& stamp, std::int64_t dx, std::int64_t dy) {
  for (int i = 0; i < stamp.count; ++i)
    if (stamp.dx[i] == dx && stamp.dy[i] == dy) return;
  if (stamp.count == max_stamp_points) return;  // cannot happen for r <= max_stamp_radius
  stamp.dx[stamp.count] = static_cast<int>(dx);
  stamp.dy[stamp.count++] = static_cast<int>(dy);
}

// The same positions, in the same order, as draw_circle.
CircleStamp circle_stamp(int r) {
  if (r < 0) r = 0;
  if (r > max_stamp_radius) r = max_stamp_radius;
  CircleStamp stamp{r, 0, {}, {}};
  add(stamp, 0, r);
  add(stamp, 0, -r);
  quarter_walk(r, [&](std::int64_t dx, std::int64_t dy) {
    add(stamp, dx, dy);
    add(stamp, dx, -dy);
    add(stamp, -dx, dy);
    add(stamp, -dx, -dy);
  });
  add(stamp, r, 0);
  add(stamp, -r, 0);
  return stamp;
}
