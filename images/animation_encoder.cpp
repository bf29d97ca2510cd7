// The animation writer's stills through libwebp's encoder, natively: each
// frame's area a lossless WebP at effort 1 of 9 (a third smaller than
// effort 0 for a fifth more time on ring_zoom's frames, while the top
// effort saves only a few per cent more and takes over thirty times as
// long); `exact` keeps every colour as it is.
#include <webp/encode.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "animation_writer.h"

namespace {

bool encode_still(const AnimationArea& area, WebPMemoryWriter& encoded, std::string& error) {
  WebPConfig config;
  WebPPicture frame;
  if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, 1) || !WebPPictureInit(&frame)) {
    error = "libwebp version mismatch";
    return false;
  }
  config.exact = 1;
  frame.use_argb = 1;  // lossless encoding works on ARGB
  frame.width = area.width;
  frame.height = area.height;
  frame.writer = WebPMemoryWrite;
  frame.custom_ptr = &encoded;
  const bool encoded_well = WebPValidateConfig(&config) &&
                            WebPPictureImportRGBA(&frame, area.rgba.data(), area.width * 4) &&
                            WebPEncode(&config, &frame);
  if (!encoded_well) error = "cannot encode a frame (libwebp error " + std::to_string(frame.error_code) + ")";
  WebPPictureFree(&frame);
  return encoded_well;
}

// Every byte of `data` to `fd`, a write at a time; false with the
// system's reason.
bool write_all(int fd, const std::vector<std::uint8_t>& data, std::string& error) {
  for (std::size_t done = 0; done < data.size();) {
    const ssize_t written = write(fd, data.data() + done, data.size() - done);
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

bool add_animation_picture(WebpAnimation& animation, const RgbImage& picture, int ms, std::string& error) {
  const AnimationArea area = next_animation_area(animation, picture);
  WebPMemoryWriter encoded;
  WebPMemoryWriterInit(&encoded);
  const bool added = encode_still(area, encoded, error) &&
                     add_animation_frame(animation, picture, area, encoded.mem, encoded.size, ms, error);
  WebPMemoryWriterClear(&encoded);
  return added;
}

bool write_webp_animation(const std::vector<RgbImage>& pictures, const std::vector<int>& times_ms,
                          int fd, std::string& error) {
  if (pictures.empty() || times_ms.size() != pictures.size()) {
    error = "no pictures, or not one time for each";
    return false;
  }
  WebpAnimation animation;
  begin_webp_animation(animation, pictures.front().width, pictures.front().height);
  for (std::size_t i = 0; i < pictures.size(); ++i)
    if (!add_animation_picture(animation, pictures[i], times_ms[i], error)) return false;
  return write_all(fd, webp_animation_file(animation), error);
}
