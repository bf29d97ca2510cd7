// An in-memory 800 x 600 x 32 surface standing in for the window, so the
// raster kit and the geometry can be tested without a display.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "raster_kit.h"

// Points `screen` at a fresh surface, maps the six standard colours and
// clears to white; restores `screen` afterwards.
class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Every position (x, y) whose pixel differs from `background`, in row order.
  std::vector<std::pair<int, int>> changed_pixels(Uint32 background) const;
  int count_pixels(Uint32 value) const;

  // What one drawing changes on a freshly cleared (white) canvas.
  template <typename Draw>
  std::vector<std::pair<int, int>> drawn_alone(Draw draw) {
    SDL_FillRect(screen, nullptr, colour_white);
    draw();
    return changed_pixels(colour_white);
  }

 private:
  SDL_Surface* saved_screen_ = nullptr;
};
