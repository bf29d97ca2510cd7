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


// Images first .. first + count - 1 of the n (n - 1), in pair order: image
// k is mirror i = k / (n - 1) applied to the (k mod (n - 1))-th other circle.
template <typename Colour>
static bool grow(const Canvas& canvas, CircleGeneration& g, const WorldFrame& frame, Colour colour,
                 std::int64_t first, std::int64_t count) {
  const std::int64_t images = static_cast<std::int64_t>(g.n) * (g.n - 1);
  if (g.n < 0 || g.n > g.current.capacity || first < 0 || count < 0 || first + count > images ||
      g.n_next + count > g.next.capacity)
    return false;
  if (count == 0) return true;
  const std::int64_t end = first + count;
  std::int64_t k = first;
  const int i0 = static_cast<int>(first / (g.n - 1)), m = static_cast<int>(first % (g.n - 1));
  for (int i = i0; k < end; ++i) {
    // The mirror's radius squared is the float product, widened.
    const float R2 = g.current.r[i] * g.current.r[i];
    for (int j = i == i0 ? m + (m >= i0 ? 1 : 0) : 0; j < g.n && k < end; ++j) {
      if (j == i) continue;
      const std::uint32_t value = colour();
      invert_circle(canvas, g, g.n_next, g.current.x[i], g.current.y[i], R2, g.current.x[j],
                    g.current.y[j], g.current.r[j], value, frame);
      ++g.n_next;
      ++k;
    }
  }
  return true;
}

bool grow_generation(const Canvas& canvas, CircleGeneration& generation, const WorldFrame& frame,
                     std::uint32_t colour) {
  return grow(canvas, generation, frame, [colour] { return colour; }, 0,
              static_cast<std::int64_t>(generation.n) * (generation.n - 1));
}

bool grow_generation(const Canvas& canvas, CircleGeneration& generation, const WorldFrame& frame,
                     ImageColour colour) {
  return grow(canvas, generation, frame, colour, 0,
              static_cast<std::int64_t>(generation.n) * (generation.n - 1));
}

bool grow_generation_part(const Canvas& canvas, CircleGeneration& generation,
                          const WorldFrame& frame, std::uint32_t colour, std::int64_t first,
                          std::int64_t count) {
  return grow(canvas, generation, frame, [colour] { return colour; }, first, count);
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
