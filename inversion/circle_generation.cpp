#include "circle_generation.h"

#include "invert_circle.h"

template <typename Colour>
static bool grow(CircleGeneration& g, const WorldFrame& frame, Colour colour) {
  const long images = static_cast<long>(g.n) * (g.n - 1);
  if (g.n < 0 || g.n > g.current.capacity || g.n_next + images > g.next.capacity) return false;
  for (int i = 0; i < g.n; ++i) {
    // The mirror's radius squared is the float product, widened.
    const float R2 = g.current.r[i] * g.current.r[i];
    for (int j = 0; j < g.n; ++j) {
      if (j == i) continue;
      const Uint32 value = colour();
      invert_circle(g, g.n_next, g.current.x[i], g.current.y[i], R2, g.current.x[j],
                    g.current.y[j], g.current.r[j], value, frame);
      ++g.n_next;
    }
  }
  return true;
}

bool grow_generation(CircleGeneration& generation, const WorldFrame& frame, Uint32 colour) {
  return grow(generation, frame, [colour] { return colour; });
}

bool grow_generation(CircleGeneration& generation, const WorldFrame& frame, ImageColour colour) {
  return grow(generation, frame, colour);
}

bool promote_generation(CircleGeneration& generation) {
  if (generation.n_next < 0 || generation.n_next > generation.current.capacity) return false;
  for (int k = 0; k < generation.n_next; ++k) {
    generation.current.x[k] = generation.next.x[k];
    generation.current.y[k] = generation.next.y[k];
    generation.current.r[k] = generation.next.r[k];
  }
  generation.n = generation.n_next;
  generation.n_next = 0;
  return true;
}
