// The quarter-circle walk shared by draw_circle and fill_disc.
//
// From (dx, dy) = (0, r) it steps either one column outward or one row toward
// the centre row, whichever leaves the smaller |dx^2 + dy^2 - r^2|; ties step
// toward the centre row. step(dx, dy) runs after every step. The error is
// kept in 64 bits so no radius overflows it.
#pragma once

#include <cstdint>

// The walk resumed at (dx, dy) of its path, ending with its first step
// below row last_row; quarter_walk(r, step) is quarter_walk_from(r, 0, r, 0,
// step). Rows near the centre of a huge circle are reached this way without
// walking the whole quarter first.
template <typename Step>
constexpr void quarter_walk_from(std::int64_t r, std::int64_t dx, std::int64_t dy,
                                 std::int64_t last_row, Step step) {
  std::int64_t e = dx * dx + dy * dy - r * r;
  while (dy > 0 && dy >= last_row) {
    const std::int64_t ex = e + 2 * dx + 1;
    const std::int64_t ey = e - 2 * dy + 1;
    if ((ex < 0 ? -ex : ex) < (ey < 0 ? -ey : ey)) {
      ++dx;
      e = ex;
    } else {
      --dy;
      e = ey;
    }
    step(dx, dy);
  }
}

template <typename Step>
constexpr void quarter_walk(std::int64_t r, Step step) {
  quarter_walk_from(r, 0, r, 0, step);
}
