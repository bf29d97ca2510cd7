// raster_fuzz: libFuzzer target over draw_line, draw_circle and fill_disc
// on a canvas of fuzzed size.
//
// An input is two size bytes (width and height, 1 to 48 each) and up to
// four figures, 17 bytes each: a kind byte and four 32-bit words, which become
// ends, centres and radii anywhere in the 32-bit range. A rasteriser's cost
// follows the canvas, not the figure, so nothing is bounded.
//
// For every figure it checks that
//   - no word outside the canvas changes: the canvas sits in a larger block
//     with guard words around it, and put_pixel aborts on a position off
//     the canvas (RASTER_CHECK_BOUNDS);
//   - what shows is exactly what the plain walk draws (plain_raster.h),
//     wherever that walk is short enough to take;
//   - what shows is the clipped part of the whole figure: the same figure
//     moved by one pixel or two must agree with the first drawing wherever
//     both lie on the canvas;
//   - a segment shows both its ends, a circle or disc its four axis points,
//     wherever they lie on the canvas;
// and AddressSanitizer and UndefinedBehaviorSanitizer watch every step.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

#include "draw_circle.h"
#include "draw_line.h"
#include "fill_disc.h"
#include "plain_raster.h"

namespace {

constexpr int largest_side = 48;
constexpr std::int64_t plain_steps = 256;  // the longest plain walk taken
constexpr int guard = 4;  // guard words left and right, guard rows above and below
constexpr int largest_stride = largest_side + 2 * guard;
constexpr std::uint8_t sentinel_byte = 0xA5;  // a word of four, so memset lays it
constexpr std::uint32_t ink = 0xFFFFFFFF;

// A canvas of the input's size inside a block of guard words just larger.
struct Sheet {
  std::uint32_t memory[largest_stride * largest_stride];
  Canvas canvas;

  int stride() const { return canvas.width + 2 * guard; }
  int rows() const { return canvas.height + 2 * guard; }
  void reset(int width, int height) {
    canvas = {memory + guard * (width + 2 * guard) + guard, width, height, width + 2 * guard};
    std::memset(memory, sentinel_byte, sizeof(std::uint32_t) * stride() * rows());
    for (int y = 0; y < height; ++y) std::memset(canvas_pixel(canvas, 0, y), 0, sizeof(std::uint32_t) * width);
  }
  std::uint32_t at(int x, int y) const { return *canvas_pixel(canvas, x, y); }
  // The guard words alone, without a sanitizer's check or a branch per
  // word (it is our own block): this runs for every drawing.
  [[clang::no_sanitize("address", "undefined", "coverage")]] bool guard_intact() const {
    const std::uint32_t sentinel = 0x01010101u * sentinel_byte;
    const int columns = canvas.stride, last_canvas_row = guard + canvas.height;
    std::uint32_t differ = 0;
    for (int row = 0; row < rows(); ++row) {
      const std::uint32_t* words = memory + row * columns;
      const bool guard_row = row < guard || row >= last_canvas_row;
      for (int column = 0; column < columns; column += guard_row || column != guard - 1 ? 1 : canvas.width + 1)
        differ |= words[column] ^ sentinel;
    }
    return differ == 0;
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

// Where a figure's anchor lies: anywhere, around the canvas, within a
// million pixels of it, or at the ends of the 32-bit range.
std::int64_t place(std::int32_t raw, unsigned mode, int centre) {
  switch (mode & 3) {
    case 0: return raw;
    case 1: return centre + raw % 64;
    case 2: return centre + raw % (1 << 20);
    default: return raw < 0 ? int_min + (raw & 4095) : int_max - (raw & 4095);
  }
}

// Kind byte: the kind (mod 3), then the placement of each anchor, then
// whether the other end or the radius is small.
Figure decode(const std::uint8_t* bytes, int width, int height) {
  const unsigned kind = bytes[0];
  Figure figure{static_cast<Kind>(kind % 3), 0, 0, 0, 0};
  figure.a = place(word_at(bytes + 1), kind >> 2, width / 2);
  figure.b = place(word_at(bytes + 5), kind >> 4, height / 2);
  const std::int64_t p = word_at(bytes + 9), q = word_at(bytes + 13);
  const bool small = (kind & 0x40) != 0;
  if (figure.kind == line) {
    figure.c = small ? clamp_int(figure.a + p % 128) : p;
    figure.d = small ? clamp_int(figure.b + q % 128) : q;
  } else {
    figure.c = small ? p % 128 : p;
  }
  return figure;
}

// The plain walk's steps: a segment's major extent, a circle's 2 r.
std::int64_t plain_cost(const Figure& f) {
  if (f.kind == line) return std::max(std::abs(f.c - f.a), std::abs(f.d - f.b));
  return 2 * f.c;
}

// Draws `figure` moved by (sx, sy) on a cleared canvas, by the clipped
// rasteriser or the plain walk; false when the move would take a
// coordinate out of the 32-bit range.
bool draw(Sheet& sheet, const Figure& figure, int sx, int sy, bool plain) {
  const std::int64_t a = figure.a + sx, b = figure.b + sy;
  const std::int64_t c = figure.c + sx, d = figure.d + sy;
  if (a != clamp_int(a) || b != clamp_int(b)) return false;
  if (figure.kind == line && (c != clamp_int(c) || d != clamp_int(d))) return false;
  sheet.reset(sheet.canvas.width, sheet.canvas.height);
  const Canvas& canvas = sheet.canvas;
  const int x = int(a), y = int(b), r = int(figure.c);
  switch (figure.kind) {
    case line: (plain ? plain_draw_line : draw_line)(canvas, x, y, int(c), int(d), ink); break;
    case circle: (plain ? plain_draw_circle : draw_circle)(canvas, x, y, r, ink); break;
    case disc: (plain ? plain_fill_disc : fill_disc)(canvas, x, y, r, ink); break;
  }
  if (!sheet.guard_intact()) {
    std::fprintf(stderr, "raster_fuzz: a write outside the canvas (kind %d)\n", figure.kind);
    std::abort();
  }
  return true;
}

[[noreturn]] void fail(const char* what, std::int64_t x, std::int64_t y) {
  std::fprintf(stderr, "raster_fuzz: %s at (%lld, %lld)\n", what, (long long)x, (long long)y);
  std::abort();
}

void expect_drawn(const Sheet& sheet, std::int64_t x, std::int64_t y, const char* what) {
  if (in_canvas(sheet.canvas, x, y) && sheet.at(int(x), int(y)) != ink) fail(what, x, y);
}

// The first drawing and the moved one agree wherever both lie on the canvas.
[[clang::no_sanitize("address", "coverage")]] void expect_same_where_both_show(const Sheet& first, const Sheet& moved, int sx, int sy) {
  const int width = first.canvas.width, height = first.canvas.height;
  const int left = std::max(0, -sx), overlap = width - std::abs(sx);
  if (overlap <= 0) return;
  for (int y = std::max(0, -sy); y < std::min(height, height - sy); ++y)
  {
    const std::uint32_t* a = canvas_pixel(first.canvas, 0, y);
    const std::uint32_t* b = canvas_pixel(moved.canvas, sx, y + sy);
    for (int x = left; x < left + overlap; ++x)
      if (a[x] != b[x]) fail("differs from its copy moved by the size bytes' offset", x, y);
  }
}

void check(const Figure& figure, int width, int height, int sx, int sy) {
  static Sheet first, other;
  first.reset(width, height);
  other.reset(width, height);
  draw(first, figure, 0, 0, false);
  if (figure.kind == line) {
    expect_drawn(first, figure.a, figure.b, "first end not drawn");
    expect_drawn(first, figure.c, figure.d, "last end not drawn");
  } else {
    const std::int64_t a = figure.a, b = figure.b, r = figure.c;
    for (const auto& [x, y] : {std::pair{a, b + r}, {a, b - r}, {a + r, b}, {a - r, b}})
      expect_drawn(first, x, y, "axis point not drawn");
  }
  if (plain_cost(figure) <= plain_steps) {
    draw(other, figure, 0, 0, true);
    for (int y = 0; y < height; ++y) {
      const std::uint32_t* a = canvas_pixel(first.canvas, 0, y);
      const std::uint32_t* b = canvas_pixel(other.canvas, 0, y);
      for (int x = 0; x < width; ++x)
        if (a[x] != b[x]) fail("differs from the plain walk", x, y);
    }
  }
  if (draw(other, figure, sx, sy, false)) expect_same_where_both_show(first, other, sx, sy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t header = 2, record = 17;
  if (size < header) return 0;
  const int width = 1 + data[0] % largest_side;
  const int height = 1 + data[1] % largest_side;
  // The move for the clipping check, from the size bytes' high bits: -2 .. 2.
  const int sx = (data[0] >> 6) - 2 + ((data[0] >> 6) >= 2), sy = (data[1] >> 6) - 2 + ((data[1] >> 6) >= 2);
  for (std::size_t at = header; at + record <= size && at < header + 4 * record; at += record)
    check(decode(data + at, width, height), width, height, sx, sy);
  return 0;
}
