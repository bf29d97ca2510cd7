#include "rgb_image.h"

#include <png.h>

#include <cerrno>
#include <cstring>

bool read_png_rgb(std::FILE* file, RgbImage& image, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  errno = 0;
  bool read = png_image_begin_read_from_stdio(&png, file);
  if (read) {
    png.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.rgb.resize(PNG_IMAGE_SIZE(png));
    // A null background composites any alpha onto black; the row stride 0
    // means packed rows.
    read = png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr);
  }
  if (read) return true;
  // libpng says only "Read Error" when the file fails or ends early.
  if (std::ferror(file)) error = errno != 0 ? std::strerror(errno) : "cannot read";
  else if (std::feof(file)) error = "the file ends too early (not a whole PNG file)";
  else error = png.message;
  png_image_free(&png);
  return false;
}

bool read_png_rgb(const std::string& path, RgbImage& image, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  const bool read = read_png_rgb(file, image, error);
  std::fclose(file);
  return read;
}
