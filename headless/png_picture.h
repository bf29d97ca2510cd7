// Writing a surface as an 8-bit RGB PNG file through libpng, for the
// headless harness's picture export.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdio>

// Writes `surface` (any depth, colours read through its pixel format) to
// `path`. Returns false with a reason in `error` on failure.
bool save_png(SDL_Surface* surface, const char* path, char* error, std::size_t error_size);

// Writes `surface` as a PNG file to the open `file` and flushes it; the
// caller opens and closes the file. Returns false with a reason in `error`.
bool write_png(SDL_Surface* surface, std::FILE* file, char* error, std::size_t error_size);
