// Frames go to the encoder one at a time, each with the moment it starts;
// a last call with no picture sets when the last frame ends.
#include "animation_writer.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdio>
#include <memory>

namespace {

struct EncoderDeleter {
  void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};
using EncoderHandle = std::unique_ptr<WebPAnimEncoder, EncoderDeleter>;

// Lossless at effort 1 of 9: a third smaller than effort 0 for a fifth more
// time on ring_zoom's frames, while the top effort saves only a few per cent
// more and takes over thirty times as long. `exact` keeps every colour as it is.
bool fast_lossless_config(WebPConfig& config) {
  if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, 1)) return false;
  config.exact = 1;
  return WebPValidateConfig(&config) != 0;
}

bool add_frame(WebPAnimEncoder* encoder, const RgbImage& picture, int start_ms,
               const WebPConfig& config, std::string& error) {
  WebPPicture frame;
  if (!WebPPictureInit(&frame)) {
    error = "libwebp version mismatch";
    return false;
  }
  frame.use_argb = 1;  // lossless encoding works on ARGB
  frame.width = picture.width;
  frame.height = picture.height;
  const bool imported = WebPPictureImportRGB(&frame, picture.rgb.data(), picture.width * 3);
  const bool added = imported && WebPAnimEncoderAdd(encoder, &frame, start_ms, &config);
  if (!imported)
    error = "out of memory";
  else if (!added)
    error = WebPAnimEncoderGetError(encoder);
  WebPPictureFree(&frame);
  return added;
}

bool write_file(const std::string& path, const WebPData& data, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "cannot open for writing";
    return false;
  }
  const bool written = std::fwrite(data.bytes, 1, data.size, file) == data.size;
  if (std::fclose(file) != 0 || !written) {
    error = "cannot write";
    return false;
  }
  return true;
}

}  // namespace

bool write_webp_animation(const std::vector<RgbImage>& pictures, const std::vector<int>& times_ms,
                          const std::string& path, std::string& error) {
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
  WebPAnimEncoderOptions options;
  if (!fast_lossless_config(config) || !WebPAnimEncoderOptionsInit(&options)) {
    error = "libwebp version mismatch";
    return false;
  }
  options.anim_params.loop_count = 0;  // 0 loops forever
  EncoderHandle encoder(WebPAnimEncoderNew(width, height, &options));
  if (!encoder) {
    error = "cannot start the WebP animation encoder";
    return false;
  }

  int start_ms = 0;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (!add_frame(encoder.get(), pictures[i], start_ms, config, error)) return false;
    start_ms += times_ms[i];
  }
  WebPData data;
  WebPDataInit(&data);
  if (!WebPAnimEncoderAdd(encoder.get(), nullptr, start_ms, nullptr) ||
      !WebPAnimEncoderAssemble(encoder.get(), &data)) {
    error = WebPAnimEncoderGetError(encoder.get());
    return false;
  }
  const bool written = write_file(path, data, error);
  WebPDataClear(&data);
  return written;
}
