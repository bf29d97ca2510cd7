// raster_fuzz: libFuzzer target over draw_line, draw_circle and fill_disc.
//
// Each input is a list of figures, 17 bytes each: a kind byte and four
// 32-bit words. The words become ends, centres and radii anywhere in the
// 32-bit range; only what sets the cost is bounded (a segment's length, a
// positive radius), since every rasteriser takes one step per pixel of the
// whole figure, clipped or not. A negative radius costs nothing and is
// taken as it comes.
//
// For every figure it checks that
//   - no word outside the 800 x 600 pixels changes: the window sits in a
//     larger block with guard words around it, and put_pixel aborts on a
//     position off the window (RASTER_CHECK_BOUNDS);
//   - what shows is exactly the clipped part of the whole figure: the same
//     figure moved by (+-400, +-300) and by (+-1, +-1) must agree with the
//     first drawing wherever both lie in the window, so every pixel drawn
//     near an edge is held against the same pixel drawn away from it;
//   - a segment shows both its ends, a circle or disc its four axis points,
//     wherever they lie in the window;
// and AddressSanitizer and UndefinedBehaviorSanitizer watch every step.
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "draw_circle.h"
#include "draw_line.h"
#include "fill_disc.h"
#include "pixels.h"

SDL_Surface* screen = nullptr;
const char* program_name = "raster_fuzz";

void pixel_out_of_bounds(const char* routine, int x, int y) {
  std::fprintf(stderr, "raster_fuzz: %s(%d, %d) outside the window\n", routine, x, y);
  std::abort();
}

namespace {

constexpr std::int64_t longest_segment = 1 << 17;  // steps along the major axis
constexpr std::int64_t largest_outline = 1 << 16;  // draw_circle: 2r steps
// fill_disc writes a clipped span (up to 800 pixels) after every step on a
// row in the window; near the top of a huge disc that is most steps.
constexpr std::int64_t largest_disc = 1 << 12;

constexpr int guard = 16;  // guard words left and right, guard rows above and below
constexpr int stride = window_width + 2 * guard;
constexpr int rows = window_height + 2 * guard;
constexpr Uint32 sentinel = 0xA55A5AA5;
constexpr Uint32 ink = 0xFFFFFFFF;

struct Canvas {
  std::vector<Uint32> memory = std::vector<Uint32>(std::size_t(stride) * rows, sentinel);
  SDL_Surface surface{};

  Canvas() {
    surface.w = window_width;
    surface.h = window_height;
    surface.pitch = stride * 4;
    surface.pixels = memory.data() + guard * stride + guard;
  }
  const Uint32* row(int y) const { return memory.data() + std::ptrdiff_t(guard + y) * stride + guard; }
  Uint32 at(int x, int y) const { return row(y)[x]; }
  void clear() {
    for (int y = 0; y < window_height; ++y)
      std::memset(memory.data() + std::ptrdiff_t(guard + y) * stride + guard, 0, window_width * 4);
  }
  bool guard_intact() const {
    const auto intact = [&](int row, int column, int count) {
      const auto start = memory.begin() + std::ptrdiff_t(row) * stride + column;
      return std::all_of(start, start + count, [](Uint32 word) { return word == sentinel; });
    };
    for (int row = 0; row < rows; ++row) {
      const bool window_row = row >= guard && row < guard + window_height;
      if (!window_row && !intact(row, 0, stride)) return false;
      if (window_row && !(intact(row, 0, guard) && intact(row, guard + window_width, guard))) return false;
    }
    return true;
  }
};

enum Kind { line, circle, disc };

struct Figure {
  Kind kind;
  std::int64_t a, b, c, d;  // x0, y0, x1, y1 or cx, cy, r (d unused)
};

constexpr std::int64_t int_min = std::numeric_limits<int>::min();
constexpr std::int64_t int_max = std::numeric_limits<int>::max();

std::int64_t clamp_int(std::int64_t value) { return std::clamp(value, int_min, int_max); }

std::int32_t word_at(const std::uint8_t* bytes) {
  std::uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return static_cast<std::int32_t>(word);
}

// Where a figure's anchor lies: anywhere, around the window, within a long
// segment or a large radius of it, or at the ends of the 32-bit range.
std::int64_t place(std::int32_t raw, unsigned mode, int centre) {
  switch (mode & 3) {
    case 0: return raw;
    case 1: return centre + raw % 3200;
    case 2: return centre + raw % (2 * longest_segment);
    default: return raw < 0 ? int_min + (raw & 4095) : int_max - (raw & 4095);
  }
}

Figure decode(const std::uint8_t* bytes) {
  const unsigned kind = bytes[0];
  Figure figure{static_cast<Kind>(kind % 3), 0, 0, 0, 0};
  figure.a = place(word_at(bytes + 1), kind >> 2, window_width / 2);
  figure.b = place(word_at(bytes + 5), kind >> 4, window_height / 2);
  const std::int64_t p = word_at(bytes + 9);
  const std::int64_t q = word_at(bytes + 13);
  if (figure.kind == line) {
    figure.c = clamp_int(figure.a + p % (longest_segment + 1));
    figure.d = clamp_int(figure.b + q % (longest_segment + 1));
  } else {
    const std::int64_t largest = figure.kind == circle ? largest_outline : largest_disc;
    figure.c = p < 0 ? p : p % (largest + 1);
  }
  return figure;
}

// Draws `figure` moved by (sx, sy) on a cleared canvas; false when the move
// would take a coordinate out of the 32-bit range.
bool draw_moved(Canvas& canvas, const Figure& figure, int sx, int sy) {
  const std::int64_t a = figure.a + sx, b = figure.b + sy;
  const std::int64_t c = figure.c + sx, d = figure.d + sy;
  if (a != clamp_int(a) || b != clamp_int(b)) return false;
  if (figure.kind == line && (c != clamp_int(c) || d != clamp_int(d))) return false;
  canvas.clear();
  screen = &canvas.surface;
  const int x = int(a), y = int(b);
  switch (figure.kind) {
    case line: draw_line(x, y, int(c), int(d), ink); break;
    case circle: draw_circle(x, y, int(figure.c), ink); break;
    case disc: fill_disc(x, y, int(figure.c), ink); break;
  }
  if (!canvas.guard_intact()) {
    std::fprintf(stderr, "raster_fuzz: a write outside the window (kind %d)\n", figure.kind);
    std::abort();
  }
  return true;
}

void expect_drawn(const Canvas& canvas, std::int64_t x, std::int64_t y, const char* what) {
  if (in_window(x, y) && canvas.at(int(x), int(y)) != ink) {
    std::fprintf(stderr, "raster_fuzz: %s (%lld, %lld) not drawn\n", what, (long long)x, (long long)y);
    std::abort();
  }
}

// The first drawing and the moved one agree wherever both lie in the window.
void expect_same_where_both_show(const Canvas& first, const Canvas& moved, int sx, int sy) {
  const int left = std::max(0, -sx);
  const int width = window_width - std::abs(sx);
  for (int y = std::max(0, -sy); y < std::min(window_height, window_height - sy); ++y) {
    if (std::memcmp(first.row(y) + left, moved.row(y + sy) + left + sx, std::size_t(width) * 4) == 0) continue;
    for (int x = left; x < left + width; ++x)
      if (first.at(x, y) != moved.at(x + sx, y + sy)) {
        std::fprintf(stderr, "raster_fuzz: pixel (%d, %d) differs from its copy moved by (%d, %d)\n", x,
                     y, sx, sy);
        std::abort();
      }
  }
}

void check(const Figure& figure) {
  static Canvas first;
  static Canvas moved;
  draw_moved(first, figure, 0, 0);
  if (figure.kind == line) {
    expect_drawn(first, figure.a, figure.b, "first end");
    expect_drawn(first, figure.c, figure.d, "last end");
  } else {
    const std::int64_t r = figure.c;
    expect_drawn(first, figure.a, figure.b + r, "axis point");
    expect_drawn(first, figure.a, figure.b - r, "axis point");
    expect_drawn(first, figure.a + r, figure.b, "axis point");
    expect_drawn(first, figure.a - r, figure.b, "axis point");
  }
  constexpr int moves[][2] = {{400, 300}, {-400, 300}, {400, -300}, {-400, -300}, {1, 1}, {-1, -1}};
  for (const auto& move : moves)
    if (draw_moved(moved, figure, move[0], move[1])) expect_same_where_both_show(first, moved, move[0], move[1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t record = 17;
  for (std::size_t at = 0; at + record <= size && at < 8 * record; at += record) check(decode(data + at));
  return 0;
}
