// ./suite export --animate, from this build tree: the animation, decoded
// with libwebp's WebPAnimDecoder and played through, shows every exported
// PNG frame in order, pixel for pixel, each for its time.
#include <gtest/gtest.h>
#include <png.h>
#include <webp/demux.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr long clock_seconds = 1700000000;

struct Frame {
  std::vector<std::uint8_t> rgba;  // the whole canvas, 4 bytes a pixel
  int duration_ms = 0;
};

// Read as RGBA, not the RGB the animator reads, so that a slip in its row
// or channel layout cannot repeat itself here.
std::vector<std::uint8_t> read_png_rgba(const fs::path& path, int width, int height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  const bool read = png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr);
  if (!read || static_cast<int>(image.width) != width || static_cast<int>(image.height) != height) return {};
  return rgba;
}

std::vector<Frame> decode_animation(const fs::path& path, int& width, int& height) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  const WebPData data{bytes.data(), bytes.size()};
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) return {};
  options.color_mode = MODE_RGBA;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  if (decoder == nullptr) return {};
  WebPAnimInfo info;
  WebPAnimDecoderGetInfo(decoder, &info);
  width = static_cast<int>(info.canvas_width);
  height = static_cast<int>(info.canvas_height);
  std::vector<Frame> frames;
  int previous_end = 0;
  std::uint8_t* canvas = nullptr;
  int end_ms = 0;  // the decoder gives the moment each frame ends
  while (WebPAnimDecoderGetNext(decoder, &canvas, &end_ms)) {
    frames.push_back({{canvas, canvas + std::size_t{4} * width * height}, end_ms - previous_end});
    previous_end = end_ms;
  }
  WebPAnimDecoderDelete(decoder);
  return frames;
}

// The exported frames, frame-001.png onwards, as RGBA.
std::vector<std::vector<std::uint8_t>> read_frames(const fs::path& folder, int width, int height) {
  std::vector<std::vector<std::uint8_t>> exported;
  for (;;) {
    char file[32];
    std::snprintf(file, sizeof file, "frame-%03zu.png", exported.size() + 1);
    if (!fs::exists(folder / file)) return exported;
    exported.push_back(read_png_rgba(folder / file, width, height));
  }
}

// The index of the first pixel whose red, green or blue differ; -1 if none.
long first_rgb_difference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return 0;
  for (std::size_t i = 0; i < a.size(); i += 4)
    if (std::memcmp(&a[i], &b[i], 3) != 0) return static_cast<long>(i / 4);
  return -1;
}

// A scratch folder, removed however the test ends.
struct ScratchFolder {
  fs::path path;
  ~ScratchFolder() { fs::remove_all(path); }
};

struct Case {
  const char* program;
  std::size_t frames;
  int first_ms, middle_ms, last_ms;  // how long the first, a middle and the last frame show
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.program; }

class AnimatedExport : public testing::TestWithParam<Case> {};

TEST_P(AnimatedExport, PlaysEveryFrameInOrderPixelForPixelForItsTime) {
  const Case c = GetParam();
  const ScratchFolder scratch{scratch_folder("animated-export")};
  ASSERT_FALSE(scratch.path.empty());
  const fs::path& out = scratch.path;
  const std::string command = std::string("EXPORT_BUILD='") + BUILD_TREE + "' '" + EXPORT_SCRIPT + "' " +
                              c.program + " --clock " + std::to_string(clock_seconds) + " --out '" +
                              out.string() + "' --animate >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  int width = 0, height = 0;
  const std::vector<Frame> frames = decode_animation(out / (std::string(c.program) + ".webp"), width, height);
  const auto exported = read_frames(out / c.program, width, height);
  ASSERT_EQ(exported.size(), c.frames);
  ASSERT_EQ(frames.size(), c.frames) << "one animation frame for each exported one, repeated ones too";
  for (std::size_t f = 0; f < frames.size(); ++f)
    EXPECT_EQ(first_rgb_difference(exported[f], frames[f].rgba), -1) << "frame " << f + 1 << " is not its PNG";

  EXPECT_EQ(frames.front().duration_ms, c.first_ms);
  EXPECT_EQ(frames[frames.size() / 2].duration_ms, c.middle_ms);
  EXPECT_EQ(frames.back().duration_ms, c.last_ms);
}

// Ten frames or more play as a film, fewer a second each; the first is
// held a second and the last two.
INSTANTIATE_TEST_SUITE_P(Programs, AnimatedExport,
                         testing::Values(Case{"ring_zoom", 19, 1000, 160, 2000},
                                         Case{"soddy_radius_sweep", 30, 1000, 160, 2000},
                                         Case{"five_circle_limit", 4, 1000, 1000, 2000}),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.program); });

}  // namespace
