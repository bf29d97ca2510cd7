// PNG encoding of plain pixels, with the bytes handed to a callback (the
// shape of stb_image_write's _to_func writers): no file, no SDL.
//
// The picture is a Canvas (raster/canvas.h): rows of 32-bit words
// 0x??RRGGBB (the top byte is ignored), `stride` words apart; it is only read. encode_png writes an 8-bit PNG: indexed where the
// picture has at most 256 colours (nearly every picture here), else RGB,
// row by row, so it needs no copy of the picture. Compression is libpng's
// fast setting: no filters, zlib level 3; up to 16 colours are packed 2, 4
// or 8 pixels a byte, as libpng's simplified writer packs them (the bytes
// are the ones that writer made for the export before). A colour given as
// `transparent` is stored fully transparent (a tRNS chunk);
// no_transparent_colour keeps the picture opaque.
//
// write(context, bytes, size) returns false when it cannot take the bytes;
// encode_png then stops and returns false. Any failure puts a reason in
// `error` (the caller knows better why its own write failed).
// write_to_stdio is such a callback, onto a file the caller opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "canvas.h"

constexpr std::uint32_t no_transparent_colour = 0xFFFFFFFF;

using PngWrite = bool (*)(void* context, const void* bytes, std::size_t size);

bool encode_png(const Canvas& view, std::uint32_t transparent, PngWrite write, void* context,
                char* error, std::size_t error_size);

// The callback context for write_to_stdio: the open file, and the errno of
// a failed write (0 while all is well).
struct StdioSink {
  std::FILE* file;
  int error;
};

bool write_to_stdio(void* sink, const void* bytes, std::size_t size);
