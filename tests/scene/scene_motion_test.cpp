// Motions: a short motion's frames against numbers written out here, and
// ./suite render's animated WebP of it, decoded by libwebp's demuxer,
// against the scenes drawn as stills.
#include <webp/demux.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "draw_scene.h"
#include "scene_json.h"
#include "scene_motion.h"

namespace fs = std::filesystem;

namespace {

// Three circles, their outlines and a walk; the second scene moves them,
// grows the first and zooms four times into (1, 1).
const char* first = R"({"view": {"x": 0, "y": 0, "scale": 200}, "width": 160, "height": 120,
  "circles": [{"x": 0, "y": 0, "r": 0.25}, {"x": 0, "y": 2, "r": 1.5}, {"x": -1.7, "y": -1, "r": 1.5}],
  "layers": [{"draw": "outlines"}, {"draw": "walk", "steps": 20000, "seed": 9, "colour": "red", "start": {"x": 3, "y": 3}}]})";
const char* last = R"({"view": {"x": 1, "y": 1, "scale": 800}, "width": 160, "height": 120,
  "circles": [{"x": 1, "y": 0.5, "r": 0.75}, {"x": 0, "y": 2, "r": 1.5}, {"x": -1.5, "y": -1, "r": 1.5}],
  "layers": [{"draw": "outlines"}, {"draw": "walk", "steps": 20000, "seed": 9, "colour": "red", "start": {"x": 3, "y": 3}}]})";

Scene read(const char* text) {
  Scene scene;
  SceneErrors errors;
  EXPECT_TRUE(read_scene_json(text, scene, errors)) << error_line(errors);
  return scene;
}

// The scene's pixels as RGBA bytes, as the decoder gives a frame.
std::vector<std::uint8_t> drawn(const Scene& scene) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(scene.width) * scene.height);
  draw_scene(scene, {pixels.data(), scene.width, scene.height, scene.width});
  std::vector<std::uint8_t> rgba;
  for (const std::uint32_t p : pixels) rgba.insert(rgba.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p), 0xFF});
  return rgba;
}

}  // namespace

// The middle of three frames: eased time 1/2, each circle half way, the
// scale 400 (geometric) and the centre at 2/3, where the point (4/3, 4/3)
// that both views show at the same pixel stays put.
TEST(Motion, FramesAreTheEndsAndTheNumbersBetween) {
  const Scene a = read(first), b = read(last);
  EXPECT_TRUE(motion_frame(a, b, 0, 3) == a);
  EXPECT_TRUE(motion_frame(a, b, 2, 3) == b);
  const Scene middle = motion_frame(a, b, 1, 3);
  const double circles[3][3] = {{0.5, 0.25, 0.5}, {0, 2, 1.5}, {-1.6, -1, 1.5}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_DOUBLE_EQ(middle.circles[k].x, circles[k][0]) << k;
    EXPECT_DOUBLE_EQ(middle.circles[k].y, circles[k][1]) << k;
    EXPECT_DOUBLE_EQ(middle.circles[k].r, circles[k][2]) << k;
  }
  EXPECT_NEAR(middle.view.scale, 400, 1e-10);
  EXPECT_NEAR(middle.view.x, 2.0 / 3, 1e-13);
  EXPECT_NEAR(middle.view.y, 2.0 / 3, 1e-13);
  // Eased: the first of five frames moves the circle 0.15625 of the way.
  EXPECT_DOUBLE_EQ(motion_frame(a, b, 1, 5).circles[0].x, 0.15625);
}

// ./suite render A B --frames 3: every frame, decoded, is the picture of
// the motion's scene at that frame; the first and last are A's and B's.
TEST(Motion, RenderWritesEachFrameAsItsStill) {
  const fs::path folder = fs::temp_directory_path() / ("motion-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "a.json") << first;
  std::ofstream(folder / "b.json") << last;
  const std::string command = "cd '" + folder.string() + "' && '" RENDER_SCENE "' a.json b.json --frames 3 --out m.webp >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream file(folder / "m.webp", std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  const WebPData data{bytes.data(), bytes.size()};
  WebPAnimDecoderOptions options;
  ASSERT_TRUE(WebPAnimDecoderOptionsInit(&options));
  options.color_mode = MODE_RGBA;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  ASSERT_NE(decoder, nullptr);
  fs::remove_all(folder);
  const Scene a = read(first), b = read(last);
  const std::vector<std::uint8_t> expected[] = {drawn(a), drawn(motion_frame(a, b, 1, 3)), drawn(b)};
  EXPECT_NE(expected[0], expected[1]);
  std::uint8_t* canvas = nullptr;
  int end_ms = 0, frames = 0;
  const int ends[] = {1000, 2000, 4000};  // frame_times.h: a second each, the last held two
  while (WebPAnimDecoderGetNext(decoder, &canvas, &end_ms) && frames < 3) {
    EXPECT_TRUE(std::equal(expected[frames].begin(), expected[frames].end(), canvas)) << "frame " << frames;
    EXPECT_EQ(end_ms, ends[frames]);
    ++frames;
  }
  EXPECT_EQ(frames, 3);
  EXPECT_FALSE(WebPAnimDecoderHasMoreFrames(decoder));
  WebPAnimDecoderDelete(decoder);
}
