// Writing pictures as one animated WebP file through libwebp (each frame a
// lossless still, put together by libwebp's muxer).
//
// Every frame is stored losslessly and with exact colours, so a decoder
// gives back each picture pixel for pixel; a frame holds the rectangle that
// changed since the one before, and every picture is a frame of its own,
// even one that repeats the picture before. The animation loops forever.
#pragma once

#include <string>
#include <vector>

#include "rgb_image.h"

// Writes `pictures`, all of one size, to the open file `fd`, picture i
// shown for `times_ms[i]` milliseconds. Returns false with a reason in
// `error` (the system's, when writing fails); the caller opens the file,
// closes it and removes what a failure left.
bool write_webp_animation(const std::vector<RgbImage>& pictures, const std::vector<int>& times_ms,
                          int fd, std::string& error);
