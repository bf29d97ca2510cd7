// Motions as animated WebP files: pictures put together frame by frame,
// the one writer of the export's program motions, ./suite render's and
// the explorer's.
//
// Every frame is stored losslessly and with exact colours, so a decoder
// gives back each picture pixel for pixel; a frame holds the rectangle that
// changed since the one before (its unchanged pixels transparent, blended
// over the frame before), and every picture is a frame of its own, even
// one that repeats the picture before. The animation loops forever.
//
// The container (RIFF, VP8X, ANIM and one ANMF chunk a frame) is written
// here; each frame's still, a lossless WebP of its area, comes from an
// encoder: libwebp's natively (add_animation_picture), the browser's own in
// the explorer. Only the pictures added last and the encoded frames are
// held, so a long motion costs its file, not its pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "rgb_image.h"

struct WebpAnimation {
  int width = 0;
  int height = 0;
  int frames = 0;
  RgbImage previous;                  // the picture added last
  std::vector<std::uint8_t> chunks;   // the ANMF chunks so far
};

// The part of a picture a frame stores: RGBA rows, width * 4 bytes each,
// pixels the frame before already shows fully transparent.
struct AnimationArea {
  int x = 0;  // even, as a WebP frame's offsets are
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

void begin_webp_animation(WebpAnimation& animation, int width, int height);

// The area of `picture` (the animation's size) that changed since the
// picture added last: all of it for the first; a 2 x 2 corner where nothing
// changed.
AnimationArea next_animation_area(const WebpAnimation& animation, const RgbImage& picture);

// Adds `picture` as the next frame, shown for `ms` milliseconds: `still` is
// the WebP file of `area`, as next_animation_area gave it, encoded
// losslessly (a VP8L image). False with a reason when the still is no
// such file.
bool add_animation_frame(WebpAnimation& animation, const RgbImage& picture, const AnimationArea& area,
                         const std::uint8_t* still, std::size_t size, int ms, std::string& error);

// The whole file of the frames added so far.
std::vector<std::uint8_t> webp_animation_file(const WebpAnimation& animation);

// A canvas's pixels (0x??RRGGBB words) as an RGB picture.
void picture_of_canvas(const Canvas& canvas, RgbImage& picture);

// Natively, with libwebp's encoder for each still (animation_encoder.cpp):
// the next picture encoded and added; and `pictures`, all of one size,
// written as a whole file to the open `fd`, picture i shown for
// `times_ms[i]` milliseconds. False with a reason in `error` (the system's,
// when writing fails); the caller opens the file, closes it and removes
// what a failure left.
bool add_animation_picture(WebpAnimation& animation, const RgbImage& picture, int ms, std::string& error);
bool write_webp_animation(const std::vector<RgbImage>& pictures, const std::vector<int>& times_ms,
                          int fd, std::string& error);
