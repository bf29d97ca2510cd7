// The surface is converted to packed RGB rows first and handed to libpng's
// simplified writer in one call, which reports errors in the image record
// instead of by longjmp.
#include "png_picture.h"

#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The raw pixel value at (x, y) of a surface of 1 to 4 bytes per pixel.
Uint32 pixel_value(const SDL_Surface* surface, int x, int y) {
  const int bytes = surface->format->BytesPerPixel;
  const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
  switch (bytes) {
    case 1:
      return *p;
    case 2: {
      Uint16 value;
      std::memcpy(&value, p, sizeof value);
      return value;
    }
    case 3:
      return SDL_BYTEORDER == SDL_LIL_ENDIAN ? p[0] | p[1] << 8 | p[2] << 16
                                             : p[0] << 16 | p[1] << 8 | p[2];
    default: {
      Uint32 value;
      std::memcpy(&value, p, sizeof value);
      return value;
    }
  }
}


// The surface's colours as a palette of at most 256 entries and one index
// a pixel; false when it has more colours. Most pictures here hold a
// handful, and an indexed PNG of them is exact and far cheaper to compress.
bool index_colours(const std::vector<png_byte>& rgb, std::vector<png_byte>& indices, png_byte* palette,
                   int& entries) {
  constexpr int slots = 1024;  // open addressing, at most a quarter full
  std::uint32_t key[slots];
  int index_of[slots];
  std::fill(index_of, index_of + slots, -1);
  entries = 0;
  indices.resize(rgb.size() / 3);
  std::uint32_t last = 0xFFFFFFFF;
  int last_index = 0;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const std::uint32_t colour = rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
    if (colour != last) {
      std::uint32_t slot = (colour * 2654435761u) >> 22;  // 10 bits
      while (index_of[slot] >= 0 && key[slot] != colour) slot = (slot + 1) % slots;
      if (index_of[slot] < 0) {
        if (entries == 256) return false;
        key[slot] = colour;
        index_of[slot] = entries;
        std::memcpy(palette + 3 * entries++, &rgb[3 * i], 3);
      }
      last = colour;
      last_index = index_of[slot];
    }
    indices[i] = static_cast<png_byte>(last_index);
  }
  return true;
}

}  // namespace

bool write_png(SDL_Surface* surface, std::FILE* file, char* error, std::size_t error_size) {
  const int width = surface->w;
  const int height = surface->h;
  std::vector<png_byte> rows(static_cast<std::size_t>(width) * height * 3);

  const bool locked = SDL_MUSTLOCK(surface);
  if (locked && SDL_LockSurface(surface) != 0) {
    std::snprintf(error, error_size, "cannot lock the surface: %s", SDL_GetError());
    return false;
  }
  png_byte* out = rows.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      SDL_GetRGB(pixel_value(surface, x, y), surface->format, &out[0], &out[1], &out[2]);
      out += 3;
    }
  }
  if (locked) SDL_UnlockSurface(surface);

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.flags = PNG_IMAGE_FLAG_FAST;  // a quick compression: these pictures compress well anyway
  std::vector<png_byte> indices;
  png_byte palette[3 * 256];
  int entries = 0;
  const bool indexed = index_colours(rows, indices, palette, entries);
  image.format = indexed ? PNG_FORMAT_RGB_COLORMAP : PNG_FORMAT_RGB;
  image.colormap_entries = indexed ? static_cast<png_uint_32>(entries) : 0;
  const png_byte* pixels = indexed ? indices.data() : rows.data();

  errno = 0;
  const bool written = png_image_write_to_stdio(&image, file, 0, pixels, 0, indexed ? palette : nullptr) &&
                       std::fflush(file) == 0;
  if (!written) std::snprintf(error, error_size, "%s", errno != 0 ? std::strerror(errno) : image.message);
  png_image_free(&image);
  return written;
}

bool save_png(SDL_Surface* surface, const char* path, char* error, std::size_t error_size) {
  // The file is opened and closed here, not by libpng, so that a failure
  // names its cause (a full disk, a missing folder) rather than "Write Error".
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::snprintf(error, error_size, "%s", std::strerror(errno));
    return false;
  }
  const bool written = write_png(surface, file, error, error_size);
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  if (written) std::snprintf(error, error_size, "%s", std::strerror(errno));
  // No half-written picture is left behind; anything but a plain file (a
  // device, a link) is left alone.
  struct stat written_file;
  if (lstat(path, &written_file) == 0 && S_ISREG(written_file.st_mode)) std::remove(path);
  return false;
}
