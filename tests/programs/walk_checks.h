// Checks shared by the tests of the programs that paint limit sets with a
// random walk: where the pixels of a walk lie and how two walks of different
// seeds compare.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "run_program.h"

using PixelPositions = std::vector<std::pair<int, int>>;

struct PixelBox {
  int left, right, top, bottom;  // inclusive
};

inline PixelBox box_of(const PixelPositions& positions) {
  PixelBox box{1 << 30, -(1 << 30), 1 << 30, -(1 << 30)};
  for (const auto& [x, y] : positions) {
    box.left = std::min(box.left, x);
    box.right = std::max(box.right, x);
    box.top = std::min(box.top, y);
    box.bottom = std::max(box.bottom, y);
  }
  return box;
}

// The positions where `after` differs from `before`, in row order.
inline PixelPositions changed_pixels(const Picture& before, const Picture& after) {
  PixelPositions positions;
  for (int y = 0; y < after.height; ++y)
    for (int x = 0; x < after.width; ++x)
      if (before.at(x, y) != after.at(x, y)) positions.emplace_back(x, y);
  return positions;
}

// Every position lies inside `box`; on failure names how many do not and
// the first of them.
inline void expect_inside(const PixelPositions& positions, PixelBox box, const std::string& what) {
  long outside = 0;
  std::pair<int, int> first{0, 0};
  for (const auto& [x, y] : positions) {
    if (x >= box.left && x <= box.right && y >= box.top && y <= box.bottom) continue;
    if (outside++ == 0) first = {x, y};
  }
  EXPECT_EQ(outside, 0) << what << ": " << outside << " pixels outside columns " << box.left
                        << ".." << box.right << ", rows " << box.top << ".." << box.bottom
                        << ", the first at (" << first.first << ", " << first.second << ")";
}

// `after` is `before` with some pixels painted `colour`: nothing was cleared
// or painted in another colour in between.
inline void expect_painted_over(const Picture& before, const Picture& after,
                                std::uint32_t colour, const std::string& what) {
  long other = 0;
  for (const auto& [x, y] : changed_pixels(before, after))
    if (after.at(x, y) != colour) ++other;
  EXPECT_EQ(other, 0) << what << ": pixels changed to a colour other than " << std::hex << colour;
}

// The share of the pixels of `colour` in `a` that have a pixel of `colour`
// in `b` within `reach` columns and rows: two walks of one limit set under
// different seeds land on (nearly) the same pixels.
inline double share_near(const Picture& a, const Picture& b, std::uint32_t colour, int reach) {
  const PixelPositions mine = pixels_of(a, colour);
  if (mine.empty()) return 0.0;
  long near = 0;
  for (const auto& [x, y] : mine) {
    bool found = false;
    for (int v = std::max(0, y - reach); v <= std::min(b.height - 1, y + reach) && !found; ++v)
      for (int u = std::max(0, x - reach); u <= std::min(b.width - 1, x + reach) && !found; ++u)
        found = b.at(u, v) == colour;
    if (found) ++near;
  }
  return static_cast<double>(near) / static_cast<double>(mine.size());
}

