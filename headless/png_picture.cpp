// The surface is converted to plain 0xRRGGBB words first and handed to the
// suite's PNG encoder, which writes through a callback into the file opened
// here.
#include "png_picture.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <vector>

#include "png_encode.h"

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
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);

  const bool locked = SDL_MUSTLOCK(surface);
  if (locked && SDL_LockSurface(surface) != 0) {
    std::snprintf(error, error_size, "cannot lock the surface: %s", SDL_GetError());
    return false;
  }
  std::uint32_t* out = pixels.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Uint8 r, g, b;
      SDL_GetRGB(pixel_value(surface, x, y), surface->format, &r, &g, &b);
      *out++ = static_cast<std::uint32_t>(r) << 16 | g << 8 | b;
    }
  }
  if (locked) SDL_UnlockSurface(surface);

  // The file is opened and closed here, not by libpng, so that a failure
  // names its cause (a full disk, a missing folder) rather than "Write Error".
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::snprintf(error, error_size, "%s", std::strerror(errno));
    return false;
  }
  StdioSink sink{file, 0};
  errno = 0;
  const bool written = encode_png({pixels.data(), width, height, width}, no_transparent_colour,
                                  write_to_stdio, &sink, error, error_size) &&
                       std::fflush(file) == 0;
  const int write_error = sink.error != 0 ? sink.error : errno;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  const int cause = write_error != 0 ? write_error : errno;
  if (cause != 0) std::snprintf(error, error_size, "%s", std::strerror(cause));
  // No half-written picture is left behind; anything but a plain file (a
  // device, a link) is left alone.
  struct stat written_file;
  if (lstat(path, &written_file) == 0 && S_ISREG(written_file.st_mode)) std::remove(path);
  return false;
}
