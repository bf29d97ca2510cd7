// Checks shared by the whole-program tests of the one-picture programs:
// circle outlines recognised by their four axis points.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "run_program.h"

using PixelPosition = std::pair<int, int>;

inline bool in_picture(const Picture& picture, int x, int y) {
  return x >= 0 && x < picture.width && y >= 0 && y < picture.height;
}

// draw_circle always plots (cx +- r, cy) and (cx, cy +- r). Each of them that
// lies in the picture must have `colour`, except the positions in `covered`,
// which a figure drawn later lies over. Returns how many points were checked.
inline int expect_outline(const Picture& picture, int cx, int cy, int r, std::uint32_t colour,
                          std::initializer_list<PixelPosition> covered = {}) {
  const PixelPosition points[] = {{cx + r, cy}, {cx - r, cy}, {cx, cy + r}, {cx, cy - r}};
  int checked = 0;
  for (const PixelPosition& point : points) {
    const auto [x, y] = point;
    if (!in_picture(picture, x, y)) continue;
    if (std::find(covered.begin(), covered.end(), point) != covered.end()) continue;
    EXPECT_EQ(picture.at(x, y), colour)
        << "circle (" << cx << ", " << cy << ") r " << r << " at (" << x << ", " << y << ")";
    ++checked;
  }
  return checked;
}

