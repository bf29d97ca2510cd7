// encode_png (png_encode.h) for the browser's engine, which has no libpng
// or zlib: 8-bit RGBA, the image data in zlib's stored (uncompressed)
// blocks. Larger than libpng's file, the same pixels; the SVG writer embeds
// its walk layers with it.
#include <array>
#include <cstdio>
#include <vector>

#include "png_encode.h"

namespace {

constexpr std::array<std::uint32_t, 256> crc_table = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// One chunk: length, type, data, and the CRC of type and data.
void chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t k = start; k < out.size(); ++k) crc = crc_table[(crc ^ out[k]) & 0xFF] ^ (crc >> 8);
  put32(out, crc ^ 0xFFFFFFFFu);
}

}  // namespace

bool encode_png(const PixelView& view, std::uint32_t transparent, PngWrite write, void* context, char* error,
                std::size_t error_size) {
  // The rows as PNG filters them (filter byte 0, then R, G, B, A).
  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(view.height) * (1 + 4 * static_cast<std::size_t>(view.width)));
  for (int y = 0; y < view.height; ++y) {
    raw.push_back(0);
    const std::uint32_t* row = view.pixels + static_cast<std::ptrdiff_t>(y) * view.stride;
    for (int x = 0; x < view.width; ++x) {
      const std::uint32_t v = row[x] & 0xFFFFFFu;
      raw.insert(raw.end(), {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v == transparent ? 0 : 255)});
    }
  }
  // zlib: header, stored blocks of at most 65535 bytes, Adler-32 of the data.
  std::vector<std::uint8_t> z{0x78, 0x01};
  std::uint32_t a = 1, b = 0;
  for (std::size_t at = 0; at < raw.size() || at == 0;) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + n == raw.size();
    z.insert(z.end(), {static_cast<std::uint8_t>(last), static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                       static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
    for (std::size_t k = at; k < at + n; ++k) {
      a = (a + raw[k]) % 65521;
      b = (b + a) % 65521;
    }
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
    if (last) break;
  }
  put32(z, (b << 16) | a);

  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  put32(header, static_cast<std::uint32_t>(view.width));
  put32(header, static_cast<std::uint32_t>(view.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter choice, no interlace
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", z);
  chunk(png, "IEND", {});
  if (!write(context, png.data(), png.size())) {
    std::snprintf(error, error_size, "the PNG's bytes could not be written");
    return false;
  }
  return true;
}
