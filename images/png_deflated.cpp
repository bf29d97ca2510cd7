// encode_png (png_encode.h) for the browser's engine, which has no libpng:
// Debian's stb_image_write, 8-bit RGBA with filtered, deflated rows, so an
// SVG's embedded walk layer is as small as a PNG of it should be. The
// colour given as `transparent` gets alpha 0.
#include <cstdio>
#include <vector>

#include "png_encode.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace {

struct Out {
  PngWrite write;
  void* context;
  bool failed;
};

void take(void* context, void* data, int size) {
  Out* out = static_cast<Out*>(context);
  if (!out->failed && !out->write(out->context, data, static_cast<std::size_t>(size))) out->failed = true;
}

}  // namespace

bool encode_png(const Canvas& view, std::uint32_t transparent, PngWrite write, void* context, char* error,
                std::size_t error_size) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(view.width) * static_cast<std::size_t>(view.height) * 4);
  std::uint8_t* to = rgba.data();
  for (int y = 0; y < view.height; ++y) {
    const std::uint32_t* row = view.pixels + static_cast<std::ptrdiff_t>(y) * view.stride;
    for (int x = 0; x < view.width; ++x, to += 4) {
      const std::uint32_t v = row[x] & 0xFFFFFFu;
      to[0] = static_cast<std::uint8_t>(v >> 16);
      to[1] = static_cast<std::uint8_t>(v >> 8);
      to[2] = static_cast<std::uint8_t>(v);
      to[3] = v == transparent ? 0 : 255;
    }
  }
  Out out{write, context, false};
  if (stbi_write_png_to_func(take, &out, view.width, view.height, 4, rgba.data(), view.width * 4) == 0 ||
      out.failed) {
    std::snprintf(error, error_size, "the PNG's bytes could not be written");
    return false;
  }
  return true;
}
