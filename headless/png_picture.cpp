// The surface is converted to packed RGB rows first and handed to libpng's
// simplified writer in one call, which reports errors in the image record
// instead of by longjmp.
#include "png_picture.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
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

}  // namespace

bool save_png(SDL_Surface* surface, const char* path, char* error, std::size_t error_size) {
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
  image.format = PNG_FORMAT_RGB;
  // The file is opened and closed here, not by libpng, so that a failure
  // names its cause (a full disk, a missing folder) rather than "Write Error".
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::snprintf(error, error_size, "%s", std::strerror(errno));
    return false;
  }
  errno = 0;
  const bool written = png_image_write_to_stdio(&image, file, 0, rows.data(), 0, nullptr) &&
                       std::fflush(file) == 0;
  const int write_error = errno;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  const int cause = write_error != 0 ? write_error : errno;
  std::snprintf(error, error_size, "%s", cause != 0 ? std::strerror(cause) : image.message);
  png_image_free(&image);
  std::remove(path);  // no half-written picture is left behind
  return false;
}
