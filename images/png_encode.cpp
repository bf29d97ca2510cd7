// libpng's own writer, fed one converted row at a time. Its errors arrive by
// longjmp; everything that lives past the setjmp is made before it.
#include "png_encode.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The picture's colours, at most 256, by open addressing (at most a quarter
// full). index_of answers for colours found by collect only.
struct Palette {
  static constexpr int slots = 1024;
  std::uint32_t key[slots];
  int index[slots];
  std::uint32_t colour[256];
  int entries = 0;

  static std::uint32_t slot_of(std::uint32_t c) { return (c * 2654435761u) >> 22; }  // 10 bits

  // The slot of colour c, a free one when c is not in the palette.
  int find(std::uint32_t c) const {
    std::uint32_t slot = slot_of(c);
    while (index[slot] >= 0 && key[slot] != c) slot = (slot + 1) % slots;
    return static_cast<int>(slot);
  }

  // False when the view has more than 256 colours.
  bool collect(const Canvas& view) {
    std::fill(index, index + slots, -1);
    entries = 0;
    for (int y = 0; y < view.height; ++y) {
      const std::uint32_t* row = view.pixels + static_cast<std::ptrdiff_t>(y) * view.stride;
      std::uint32_t last = 0xFFFFFFFF;
      for (int x = 0; x < view.width; ++x) {
        const std::uint32_t c = row[x] & 0xFFFFFF;
        if (c == last) continue;
        last = c;
        const int slot = find(c);
        if (index[slot] >= 0) continue;
        if (entries == 256) return false;
        key[slot] = c;
        index[slot] = entries;
        colour[entries++] = c;
      }
    }
    return true;
  }
};

struct Sink {
  PngWrite write;
  void* context;
  char* error;
  std::size_t error_size;
};

void on_error(png_structp png, png_const_charp message) {
  const Sink* sink = static_cast<const Sink*>(png_get_error_ptr(png));
  std::snprintf(sink->error, sink->error_size, "%s", message);
  png_longjmp(png, 1);
}

void on_warning(png_structp, png_const_charp) {}

void on_write(png_structp png, png_bytep data, png_size_t size) {
  const Sink* sink = static_cast<const Sink*>(png_get_io_ptr(png));
  if (!sink->write(sink->context, data, size)) png_error(png, "cannot write the picture");
}

void on_flush(png_structp) {}

}  // namespace

bool encode_png(const Canvas& view, std::uint32_t transparent, PngWrite write, void* context,
                char* error, std::size_t error_size) {
  if (view.width <= 0 || view.height <= 0 || view.stride < view.width) {
    std::snprintf(error, error_size, "no picture to write (%d x %d)", view.width, view.height);
    return false;
  }
  // Large, and needed only once: kept off the stack.
  std::vector<Palette> palette_store(1);
  Palette& palette = palette_store[0];
  const bool indexed = palette.collect(view);
  std::vector<png_byte> row(static_cast<std::size_t>(view.width) * (indexed ? 1 : 3));
  Sink sink{write, context, error, error_size};

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, on_error, on_warning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    std::snprintf(error, error_size, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &sink, on_write, on_flush);
  // Few colours pack into 1, 2 or 4 bits a pixel, as libpng's simplified
  // writer packs them; png_set_packing (after the header, as libpng's
  // transformations are) takes one byte a pixel all the same.
  const int depth = !indexed || palette.entries > 16 ? 8
                    : palette.entries > 4            ? 4
                    : palette.entries > 2            ? 2
                                                     : 1;
  png_set_IHDR(png, info, static_cast<png_uint_32>(view.width),
               static_cast<png_uint_32>(view.height), depth,
               indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
  png_color colours[256];
  png_byte alpha[256];
  if (indexed) {
    int transparent_index = -1;
    for (int i = 0; i < palette.entries; ++i) {
      const std::uint32_t c = palette.colour[i];
      colours[i] = {static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                    static_cast<png_byte>(c)};
      alpha[i] = 255;
      if (c == transparent) {
        alpha[i] = 0;
        transparent_index = i;
      }
    }
    png_set_PLTE(png, info, colours, palette.entries);
    if (transparent_index >= 0) png_set_tRNS(png, info, alpha, transparent_index + 1, nullptr);
  } else if (transparent != no_transparent_colour) {
    png_color_16 key{};
    key.red = static_cast<png_uint_16>(transparent >> 16 & 0xFF);
    key.green = static_cast<png_uint_16>(transparent >> 8 & 0xFF);
    key.blue = static_cast<png_uint_16>(transparent & 0xFF);
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  // libpng's fast setting, as its simplified writer's PNG_IMAGE_FLAG_FAST.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_NO_FILTERS);
  png_set_compression_level(png, 3);
  png_write_info(png, info);
  if (depth < 8) png_set_packing(png);

  for (int y = 0; y < view.height; ++y) {
    const std::uint32_t* pixels = view.pixels + static_cast<std::ptrdiff_t>(y) * view.stride;
    png_byte* out = row.data();
    if (indexed) {
      std::uint32_t last = 0xFFFFFFFF;
      png_byte last_index = 0;
      for (int x = 0; x < view.width; ++x) {
        const std::uint32_t c = pixels[x] & 0xFFFFFF;
        if (c != last) {
          last = c;
          last_index = static_cast<png_byte>(palette.index[palette.find(c)]);
        }
        out[x] = last_index;
      }
    } else {
      for (int x = 0; x < view.width; ++x, out += 3) {
        out[0] = static_cast<png_byte>(pixels[x] >> 16);
        out[1] = static_cast<png_byte>(pixels[x] >> 8);
        out[2] = static_cast<png_byte>(pixels[x]);
      }
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool write_to_stdio(void* context, const void* bytes, std::size_t size) {
  StdioSink* sink = static_cast<StdioSink*>(context);
  errno = 0;
  if (std::fwrite(bytes, 1, size, sink->file) == size) return true;
  sink->error = errno != 0 ? errno : EIO;
  return false;
}
