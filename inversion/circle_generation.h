// Circle generations: every circle of a set inverted in every other one,
// each image stored as floats and painted at once as a filled disc on the
// canvas given.
//
// A generation lives in fixed float arrays owned by the program (a
// CircleStore of the program's capacity); CircleGeneration names the current
// and the next arrays with their counts. grow_generation fills the next
// generation in pair order (mirror i outer, circle j inner, j != i);
// promote_generation copies it over the current one.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "world_frame.h"

struct CircleSlots {
  float* x;
  float* y;
  float* r;
  int capacity;
};

template <int Capacity>
struct CircleStore {
  float x[Capacity];
  float y[Capacity];
  float r[Capacity];

  CircleSlots slots() { return {x, y, r, Capacity}; }
};

struct CircleGeneration {
  CircleSlots current;
  int n;  // circles in the current generation
  CircleSlots next;
  int n_next;  // slot of the next image
};

inline void set_circle(CircleSlots slots, int k, float x, float y, float r) {
  slots.x[k] = x;
  slots.y[k] = y;
  slots.r[k] = r;
}

// invert_circle's storing form: mirror first, then the circle to invert.
// Writes the image as three floats into slot `slot` of the next generation
// (the caller advances its count) and fills it as a disc from the stored
// floats (image_circle, invert_circle.h, gives the values).
void invert_circle(const Canvas& canvas, CircleGeneration& generation, int slot, double cx,
                   double cy, double R2, double dx, double dy, double rho, std::uint32_t colour,
                   const WorldFrame& frame);

// Picks the colour of one image; called once per image, before it is made.
using ImageColour = std::uint32_t (*)();

// Grows n (n - 1) images from n_next = 0. Refuses (returns false, grows
// nothing) when they would not fit the next generation's capacity.
bool grow_generation(const Canvas& canvas, CircleGeneration& generation, const WorldFrame& frame,
                     std::uint32_t colour);
bool grow_generation(const Canvas& canvas, CircleGeneration& generation, const WorldFrame& frame,
                     ImageColour colour);

// Grows images first .. first + count - 1 of those n (n - 1), in the same
// order, into slots n_next on: growing a generation in parts of any size
// stores and draws what one grow_generation does. Refuses (returns false,
// grows nothing) outside 0 .. n (n - 1) or past the next capacity.
bool grow_generation_part(const Canvas& canvas, CircleGeneration& generation,
                          const WorldFrame& frame, std::uint32_t colour, std::int64_t first,
                          std::int64_t count);

// Makes the next generation current: n = n_next, n_next = 0. Refuses
// (returns false, copies nothing) when it would not fit the current capacity.
bool promote_generation(CircleGeneration& generation);
