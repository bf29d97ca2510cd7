#include "circle_generation.h"

#include <cmath>

#include "invert_circle.h"
#include "pixel_circle.h"

void invert_circle(const Canvas& canvas, CircleGeneration& generation, int slot, double cx,
                   double cy, double R2, double dx, double dy, double rho, std::uint32_t colour,
                   const WorldFrame& frame) {
  const Circle image = image_circle(cx, cy, R2, dx, dy, rho);
  // Stored as floats; the disc is drawn from the stored floats, not from
  // the doubles. (Rounding is symmetric, so rounding rho * l before or after
  // dropping its sign stores the same radius.)
  const float x = static_cast<float>(image.x);
  const float y = static_cast<float>(image.y);
  const float r = static_cast<float>(image.r);
  set_circle(generation.next, slot, x, y, r);
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r)) return;
  fill_pixel_disc(canvas, frame_circle(frame, x, y, r), colour);
}


template <typename Colour>
static bool grow(const Canvas& canvas, CircleGeneration& g, const WorldFrame& frame, Colour colour) {
  const long images = static_cast<long>(g.n) * (g.n - 1);
  if (g.n < 0 || g.n > g.current.capacity || g.n_next + images > g.next.capacity) return false;
  for (int i = 0; i < g.n; ++i) {
    // The mirror's radius squared is the float product, widened.
    const float R2 = g.current.r[i] * g.current.r[i];
    for (int j = 0; j < g.n; ++j) {
      if (j == i) continue;
      const std::uint32_t value = colour();
      invert_circle(canvas, g, g.n_next, g.current.x[i], g.current.y[i], R2, g.current.x[j],
                    g.current.y[j], g.current.r[j], value, frame);
      ++g.n_next;
    }
  }
  return true;
}

bool grow_generation(const Canvas& canvas, CircleGeneration& generation, const WorldFrame& frame,
                     std::uint32_t colour) {
  return grow(canvas, generation, frame, [colour] { return colour; });
}

bool grow_generation(const Canvas& canvas, CircleGeneration& generation, const WorldFrame& frame,
                     ImageColour colour) {
  return grow(canvas, generation, frame, colour);
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
