// Each frame is encoded on its own as a lossless still of the rectangle
// that changed since the frame before (its unchanged pixels transparent), and the frames are put together with
// libwebp's muxer. libwebp's animation encoder would merge a frame that
// repeats the one before into it, and an animation should keep one frame
// per picture shown.
#include "animation_writer.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

struct MuxDeleter {
  void operator()(WebPMux* mux) const { WebPMuxDelete(mux); }
};
using MuxHandle = std::unique_ptr<WebPMux, MuxDeleter>;

struct Rectangle {
  int x, y, width, height;
};

// Lossless at effort 1 of 9: a third smaller than effort 0 for a fifth more
// time on ring_zoom's frames, while the top effort saves only a few per cent
// more and takes over thirty times as long. `exact` keeps every colour as it is.
bool fast_lossless_config(WebPConfig& config) {
  if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, 1)) return false;
  config.exact = 1;
  return WebPValidateConfig(&config) != 0;
}

// The smallest rectangle holding every pixel that differs between `before`
// and `after`, its corner moved to even coordinates (a WebP frame's offsets
// are even); a 2 x 2 corner where nothing differs.
Rectangle changed(const RgbImage& before, const RgbImage& after) {
  int left = after.width, right = -1, top = after.height, bottom = -1;
  for (int y = 0; y < after.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * after.width * 3;
    for (int x = 0; x < after.width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * 3;
      if (std::equal(&after.rgb[at], &after.rgb[at] + 3, &before.rgb[at])) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return {0, 0, std::min(2, after.width), std::min(2, after.height)};
  left &= ~1;
  top &= ~1;
  return {left, top, right - left + 1, bottom - top + 1};
}

// Encodes `area` of `picture` as a lossless WebP still into `encoded`. A
// pixel that `before` (if any) already shows is left transparent, which
// costs next to nothing and, blended, leaves the pixel under it as it is.
bool encode_area(const RgbImage& picture, const RgbImage* before, const Rectangle& area,
                 const WebPConfig& config, WebPMemoryWriter& encoded, std::string& error) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(area.width) * area.height * 4);
  std::uint8_t* out = rgba.data();
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x, out += 4) {
      const std::size_t at = (static_cast<std::size_t>(y) * picture.width + x) * 3;
      if (before != nullptr && std::equal(&picture.rgb[at], &picture.rgb[at] + 3, &before->rgb[at])) continue;
      std::copy(&picture.rgb[at], &picture.rgb[at] + 3, out);
      out[3] = 0xFF;
    }
  }
  WebPPicture frame;
  if (!WebPPictureInit(&frame)) {
    error = "libwebp version mismatch";
    return false;
  }
  frame.use_argb = 1;  // lossless encoding works on ARGB
  frame.width = area.width;
  frame.height = area.height;
  frame.writer = WebPMemoryWrite;
  frame.custom_ptr = &encoded;
  const bool encoded_well = WebPPictureImportRGBA(&frame, rgba.data(), area.width * 4) && WebPEncode(&config, &frame);
  if (!encoded_well) error = "cannot encode a frame (libwebp error " + std::to_string(frame.error_code) + ")";
  WebPPictureFree(&frame);
  return encoded_well;
}

// Every byte of `data` to `fd`, a write at a time; false with the
// system's reason.
bool write_all(int fd, const WebPData& data, std::string& error) {
  for (std::size_t done = 0; done < data.size;) {
    const ssize_t written = write(fd, data.bytes + done, data.size - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      error = written < 0 ? std::strerror(errno) : "nothing written";
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

bool write_webp_animation(const std::vector<RgbImage>& pictures, const std::vector<int>& times_ms,
                          int fd, std::string& error) {
  if (pictures.empty() || times_ms.size() != pictures.size()) {
    error = "no pictures, or not one time for each";
    return false;
  }
  const int width = pictures.front().width;
  const int height = pictures.front().height;
  for (const RgbImage& picture : pictures) {
    if (picture.width != width || picture.height != height) {
      error = "the pictures are not all of one size";
      return false;
    }
  }
  WebPConfig config;
  MuxHandle mux(WebPMuxNew());
  if (!fast_lossless_config(config) || !mux) {
    error = "libwebp version mismatch";
    return false;
  }

  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const Rectangle area = i == 0 ? Rectangle{0, 0, width, height} : changed(pictures[i - 1], pictures[i]);
    WebPMemoryWriter encoded;
    WebPMemoryWriterInit(&encoded);
    const RgbImage* before = i == 0 ? nullptr : &pictures[i - 1];
    bool pushed = encode_area(pictures[i], before, area, config, encoded, error);
    if (pushed) {
      WebPMuxFrameInfo frame{};
      frame.bitstream.bytes = encoded.mem;
      frame.bitstream.size = encoded.size;
      frame.x_offset = area.x;
      frame.y_offset = area.y;
      frame.duration = times_ms[i];
      frame.id = WEBP_CHUNK_ANMF;
      frame.dispose_method = WEBP_MUX_DISPOSE_NONE;  // the next frame draws over this one
      frame.blend_method = WEBP_MUX_BLEND;           // a transparent pixel keeps the one under it
      pushed = WebPMuxPushFrame(mux.get(), &frame, 1) == WEBP_MUX_OK;
      if (!pushed) error = "cannot add a frame";
    }
    WebPMemoryWriterClear(&encoded);
    if (!pushed) return false;
  }

  const WebPMuxAnimParams animation{0xFFFFFFFF, 0};  // white behind, and 0 loops forever
  WebPData data;
  WebPDataInit(&data);
  if (WebPMuxSetCanvasSize(mux.get(), width, height) != WEBP_MUX_OK ||
      WebPMuxSetAnimationParams(mux.get(), &animation) != WEBP_MUX_OK ||
      WebPMuxAssemble(mux.get(), &data) != WEBP_MUX_OK) {
    error = "cannot put the animation together";
    return false;
  }
  const bool written = write_all(fd, data, error);
  WebPDataClear(&data);
  return written;
}
