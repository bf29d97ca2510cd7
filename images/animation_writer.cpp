// The container of an animated WebP, as the WebP container format lays it
// out: a RIFF file holding VP8X (the canvas, with the animation and alpha
// flags), ANIM (background and loops) and one ANMF chunk a frame (its
// offset, size, duration, blend and dispose methods, then its still's
// image chunks). Every chunk is padded to an even size.
#include "animation_writer.h"

#include <algorithm>
#include <cstring>

namespace {

void put_bytes(std::vector<std::uint8_t>& out, std::uint32_t value, int count) {
  for (int k = 0; k < count; ++k) out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

void put_chunk(std::vector<std::uint8_t>& out, const char* tag, const std::uint8_t* data, std::size_t size) {
  out.insert(out.end(), tag, tag + 4);
  put_bytes(out, static_cast<std::uint32_t>(size), 4);
  out.insert(out.end(), data, data + size);
  if (size % 2 == 1) out.push_back(0);
}

std::uint32_t read_u32(const std::uint8_t* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool same_pixel(const RgbImage& a, const RgbImage& b, std::size_t at) {
  return std::equal(&a.rgb[at], &a.rgb[at] + 3, &b.rgb[at]);
}

}  // namespace

void begin_webp_animation(WebpAnimation& animation, int width, int height) {
  animation = WebpAnimation{};
  animation.width = width;
  animation.height = height;
}

AnimationArea next_animation_area(const WebpAnimation& animation, const RgbImage& picture) {
  const RgbImage* before = animation.frames == 0 ? nullptr : &animation.previous;
  AnimationArea area{0, 0, picture.width, picture.height, {}};
  if (before != nullptr) {
    int left = picture.width, right = -1, top = picture.height, bottom = -1;
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        if (same_pixel(picture, *before, (static_cast<std::size_t>(y) * picture.width + x) * 3)) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    if (right < 0) {
      area = {0, 0, std::min(2, picture.width), std::min(2, picture.height), {}};
    } else {
      left &= ~1;
      top &= ~1;
      area = {left, top, right - left + 1, bottom - top + 1, {}};
    }
  }
  area.rgba.assign(static_cast<std::size_t>(area.width) * area.height * 4, 0);
  std::uint8_t* out = area.rgba.data();
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x, out += 4) {
      const std::size_t at = (static_cast<std::size_t>(y) * picture.width + x) * 3;
      if (before != nullptr && same_pixel(picture, *before, at)) continue;  // transparent: kept
      std::copy(&picture.rgb[at], &picture.rgb[at] + 3, out);
      out[3] = 0xFF;
    }
  }
  return area;
}

bool add_animation_frame(WebpAnimation& animation, const RgbImage& picture, const AnimationArea& area,
                         const std::uint8_t* still, std::size_t size, int ms, std::string& error) {
  if (picture.width != animation.width || picture.height != animation.height) {
    error = "the pictures are not all of one size";
    return false;
  }
  if (size < 12 || std::memcmp(still, "RIFF", 4) != 0 || std::memcmp(still + 8, "WEBP", 4) != 0) {
    error = "a frame's still is no WebP file";
    return false;
  }
  std::vector<std::uint8_t> frame;
  put_bytes(frame, static_cast<std::uint32_t>(area.x / 2), 3);
  put_bytes(frame, static_cast<std::uint32_t>(area.y / 2), 3);
  put_bytes(frame, static_cast<std::uint32_t>(area.width - 1), 3);
  put_bytes(frame, static_cast<std::uint32_t>(area.height - 1), 3);
  put_bytes(frame, static_cast<std::uint32_t>(ms), 3);
  frame.push_back(0);  // blend over the frame before, which stays (no dispose)
  // The still's lossless image; its VP8X, colour profile and metadata, if
  // any, belong to a still alone, and a lossy image would not keep the
  // picture's pixels.
  bool image = false;
  for (std::size_t at = 12; at + 8 <= size;) {
    const std::uint32_t length = read_u32(still + at + 4);
    if (length > size - at - 8) break;
    const bool wanted = !image && std::memcmp(still + at, "VP8L", 4) == 0;
    if (wanted) {
      frame.insert(frame.end(), still + at, still + at + 8 + length);
      if (length % 2 == 1) frame.push_back(0);
    }
    image = image || wanted;
    at += 8 + length + length % 2;
  }
  if (!image) {
    error = "a frame's still is not a lossless WebP (no VP8L image)";
    return false;
  }
  if (frame.size() % 2 == 1) frame.push_back(0);
  put_chunk(animation.chunks, "ANMF", frame.data(), frame.size());
  animation.previous = picture;
  animation.frames += 1;
  return true;
}

std::vector<std::uint8_t> webp_animation_file(const WebpAnimation& animation) {
  std::vector<std::uint8_t> vp8x, anim, file;
  vp8x.push_back(0x12);  // animation, alpha (the frames' transparent pixels)
  put_bytes(vp8x, 0, 3);
  put_bytes(vp8x, static_cast<std::uint32_t>(animation.width - 1), 3);
  put_bytes(vp8x, static_cast<std::uint32_t>(animation.height - 1), 3);
  put_bytes(anim, 0xFFFFFFFF, 4);  // white behind
  put_bytes(anim, 0, 2);           // loops forever
  file.insert(file.end(), {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'});
  put_chunk(file, "VP8X", vp8x.data(), vp8x.size());
  put_chunk(file, "ANIM", anim.data(), anim.size());
  file.insert(file.end(), animation.chunks.begin(), animation.chunks.end());
  const std::uint32_t riff = static_cast<std::uint32_t>(file.size() - 8);
  for (int k = 0; k < 4; ++k) file[4 + k] = static_cast<std::uint8_t>(riff >> (8 * k));
  return file;
}

void picture_of_canvas(const Canvas& canvas, RgbImage& picture) {
  picture.width = canvas.width;
  picture.height = canvas.height;
  picture.rgb.resize(static_cast<std::size_t>(canvas.width) * canvas.height * 3);
  std::uint8_t* out = picture.rgb.data();
  for (int y = 0; y < canvas.height; ++y) {
    const std::uint32_t* row = canvas.pixels + static_cast<std::size_t>(y) * canvas.stride;
    for (int x = 0; x < canvas.width; ++x, out += 3) {
      out[0] = static_cast<std::uint8_t>(row[x] >> 16);
      out[1] = static_cast<std::uint8_t>(row[x] >> 8);
      out[2] = static_cast<std::uint8_t>(row[x]);
    }
  }
}
