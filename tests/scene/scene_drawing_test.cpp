// A scene drawn in pieces: pieces of any size give one run's pixels, a
// layer over a reordered choice of circles draws what the same layer draws
// over circles stored in that order, and no piece runs far past its budget.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw_scene.h"
#include "scene_drawing.h"
#include "scene_json.h"

namespace {

// Five circles, `layers` over them.
Scene scene_with(const std::string& circles, const std::string& layers) {
  const std::string text = R"({"width": 240, "height": 160, "background": "white",
    "view": {"x": 0, "y": 0, "scale": 40}, "numbers": "double", "circles": [)" + circles +
                           R"(], "layers": [)" + layers + "]}";
  Scene scene{};
  SceneErrors errors;
  EXPECT_TRUE(read_scene_json(text, scene, errors)) << error_line(errors) << "\n" << text;
  return scene;
}

std::string walk(const std::string& circles, const std::string& pick, int steps, long long skip,
                 const std::string& colour) {
  return R"({"draw": "walk", "circles": )" + circles + R"(, "pick": ")" + pick +
         R"(", "inside": "invert", "point": "double", "steps": )" + std::to_string(steps) +
         R"(, "burn_in": 37, "start": {"x": 0.3, "y": 0.2}, "previous": "none", "seed": 5, "skip": )" +
         std::to_string(skip) + R"(, "colour": ")" + colour + R"(", "plot": "pixel"})";
}

const std::string five = R"({"x": -1.5, "y": 0, "r": 1}, {"x": 1.5, "y": 0, "r": 1},
  {"x": 0, "y": 1.4, "r": 0.9}, {"x": 0, "y": -1.3, "r": 0.7}, {"x": 0.1, "y": 0.05, "r": 0.3})";
// The same circles stored in the order 2, 0, 3, 1, 4.
const std::string reordered = R"({"x": 0, "y": 1.4, "r": 0.9}, {"x": -1.5, "y": 0, "r": 1},
  {"x": 0, "y": -1.3, "r": 0.7}, {"x": 1.5, "y": 0, "r": 1}, {"x": 0.1, "y": 0.05, "r": 0.3})";

// Every layer kind over the choice `chosen`: discs, outlines, generations
// as discs and as outlines (one generation computed, not drawn), two
// walks, one with a skip, one cyclic, and the limit set coloured by the
// chosen circles.
std::string every_kind(const std::string& chosen) {
  return R"({"draw": "discs", "circles": [4], "colour": "#c0c0ff"},
    {"draw": "generations", "circles": )" + chosen +
         R"(, "style": "discs", "colours": ["#ff8080", "#80ff80", "#8080ff"]},
    {"draw": "outlines", "circles": "all", "colour": "black"},
    {"draw": "generations", "circles": )" + chosen +
         R"(, "style": "outlines", "colours": ["none", "#008000"]},
    )" + walk(chosen, "random", 30011, 100003, "red") +
         ",\n" + walk(chosen, "cyclic", 20000, 0, "blue") +
         R"(, {"draw": "limit_set", "circles": )" + chosen +
         R"(, "colours": ["#400000", "#004000", "#000040"], "plot": "disc1"})";
}

std::vector<std::uint32_t> in_pieces(const Scene& scene, std::int64_t budget) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(scene.width) * scene.height);
  SceneDrawing drawing;
  begin_scene_drawing(drawing, scene, {pixels.data(), scene.width, scene.height, scene.width});
  while (!scene_drawing_complete(drawing))
    continue_scene_drawing(drawing, budget < 0 ? drawing.total : budget);
  EXPECT_EQ(drawing.done, drawing.total);
  return pixels;
}

}  // namespace

TEST(SceneDrawing, PiecesOfAnySizeDrawWhatOneRunDraws) {
  const Scene reference = scene_with(reordered, every_kind("[0, 1, 2]"));
  std::vector<std::uint32_t> truth(static_cast<std::size_t>(reference.width) * reference.height);
  draw_scene(reference, {truth.data(), reference.width, reference.height, reference.width});
  std::size_t background = 0;
  for (std::uint32_t p : truth) background += p == reference.background;
  ASSERT_GT(truth.size() - background, truth.size() / 20) << "the reference draws too little";
  // Rows: the scene, the piece's budget (-1: all of it in one call).
  const Scene chosen = scene_with(five, every_kind("[2, 0, 3]"));
  for (const Scene* scene : {&reference, &chosen})
    for (const std::int64_t budget : {std::int64_t{1}, std::int64_t{7919}, std::int64_t{1} << 22,
                                      std::int64_t{-1}}) {
      const std::vector<std::uint32_t> pixels = in_pieces(*scene, budget);
      std::size_t differing = 0;
      for (std::size_t i = 0; i < pixels.size(); ++i) differing += pixels[i] != truth[i];
      EXPECT_EQ(differing, 0u) << (scene == &reference ? "stored order" : "chosen order")
                               << ", pieces of " << budget;
    }
}

TEST(SceneDrawing, APieceStopsNearItsBudgetInEveryLongPart) {
  const std::string close = R"({"x": -0.5, "y": 0, "r": 0.6}, {"x": 0.5, "y": 0, "r": 0.6},
    {"x": 0, "y": 0.8, "r": 0.6})";
  // Rows: a scene whose one part is far beyond a piece, and the slack a
  // piece may take past its budget (a round of the cyclic walk, an image).
  const struct {
    const char* part;
    std::string layers;
    std::int64_t slack;
  } rows[] = {
      {"skip", walk("\"all\"", "random", 10, 10000000000, "red"), 0},
      {"walk", walk("\"all\"", "random", 2000000000, 0, "red"), 2},
      {"cyclic walk", walk("\"all\"", "cyclic", 2000000000, 0, "red"), 2},
      {"generations",
       R"({"draw": "generations", "circles": "all", "style": "discs",
           "colours": ["red", "green", "blue", "black"]})",
       image_units - 1},
  };
  for (const auto& row : rows) {
    const Scene scene = scene_with(close, row.layers);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(scene.width) * scene.height);
    SceneDrawing drawing;
    begin_scene_drawing(drawing, scene, {pixels.data(), scene.width, scene.height, scene.width});
    EXPECT_EQ(drawing.done, 0) << row.part << ": begun, nothing done";
    for (int piece = 1; piece <= 3; ++piece) {
      const std::int64_t done = continue_scene_drawing(drawing, 1000);
      EXPECT_GE(done, 1) << row.part;
      EXPECT_LE(done, 1000 + row.slack) << row.part;
    }
    EXPECT_FALSE(scene_drawing_complete(drawing)) << row.part;
  }
}
