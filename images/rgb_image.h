// A picture as packed 8-bit RGB rows, read from a PNG file through libpng's
// simplified reader (any PNG colour type comes out as RGB; an alpha channel
// is composited onto black, which the suite's own opaque pictures never have).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * 3 bytes a row, top row first
};

// Reads `path` into `image`. Returns false with a reason in `error`: the
// system's, or what is wrong with the file.
bool read_png_rgb(const std::string& path, RgbImage& image, std::string& error);

// The same from a file the caller opened and closes.
bool read_png_rgb(std::FILE* file, RgbImage& image, std::string& error);
