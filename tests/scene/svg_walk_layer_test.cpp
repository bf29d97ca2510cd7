// The SVG's embedded walk and limit set layers against the PNG of the same scene, both
// written by the real render tool, on pictures that are not square.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "rgb_image.h"

namespace fs = std::filesystem;

namespace {

std::string base64_decoded(const std::string& text) {
  std::string out;
  int bits = 0, value = 0;
  for (const char c : text) {
    const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char* at = c == '\0' ? nullptr : std::strchr(digits, c);
    if (at == nullptr) break;  // '=' ends it
    value = value << 6 | static_cast<int>(at - digits);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>(value >> bits & 0xFF);
    }
  }
  return out;
}

}  // namespace

TEST(RenderCommand, SvgWalkLayerIsThePngsWalkOnPicturesThatAreNotSquare) {
  const fs::path folder = fs::temp_directory_path() / ("svg-walk-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string walk = R"({"draw": "walk", "circles": "all", "pick": "random", "inside": "invert",
    "point": "double", "steps": 40000, "burn_in": 20, "start": {"x": 0.2, "y": 0.1},
    "previous": "none", "seed": 3, "skip": 0, "colour": "red", "plot": "pixel"})";
  // The clear colour must miss every colour a limit set plots: the first
  // colour's neighbour is red, the one compared.
  const std::string limit_set =
      R"({"draw": "limit_set", "colours": ["#ff0001", "red", "#fe0000"], "plot": "disc1"})";
  // Rows: the scene's width and height, and its raster layer.
  for (const auto& [width, height, layers] :
       {std::tuple{320, 200, walk}, std::tuple{150, 260, walk}, std::tuple{320, 200, limit_set}}) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + " " + layers;
    std::ofstream(folder / "walk.json") << R"({"width": )" << width << R"(, "height": )" << height
        << R"(, "background": "white", "view": {"x": 0, "y": 0, "scale": 60}, "numbers": "double",
      "circles": [{"x": -1, "y": 0, "r": 1}, {"x": 1, "y": 0, "r": 1}, {"x": 0, "y": 1.6, "r": 0.85}],
      "layers": [)" << layers << "]}";
    const std::string command = "cd '" + folder.string() + "' && '" RENDER_SCENE
                                "' walk.json --out walk.png >/dev/null && '" RENDER_SCENE
                                "' walk.json --out walk.svg >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << size;
    std::ostringstream svg;
    svg << std::ifstream(folder / "walk.svg").rdbuf();
    const std::string head = "data:image/png;base64,";
    const std::size_t at = svg.str().find(head);
    ASSERT_NE(at, std::string::npos) << size << ": no embedded layer";
    const std::string layer_png = base64_decoded(svg.str().substr(at + head.size()));
    std::FILE* file = fmemopen(const_cast<char*>(layer_png.data()), layer_png.size(), "rb");
    RgbImage layer, png;
    std::string error;
    ASSERT_TRUE(read_png_rgb(file, layer, error)) << size << ": " << error;
    std::fclose(file);
    ASSERT_TRUE(read_png_rgb((folder / "walk.png").string(), png, error)) << error;
    ASSERT_EQ(layer.width, width) << size;
    ASSERT_EQ(layer.height, height) << size;
    ASSERT_EQ(png.width, width) << size;
    // The layer is transparent (read as black) but for the layer's points,
    // which must be the PNG's red points.
    std::size_t red = 0, differing = 0;
    for (std::size_t i = 0; i + 2 < png.rgb.size(); i += 3) {
      const bool in_png = png.rgb[i] == 255 && png.rgb[i + 1] == 0 && png.rgb[i + 2] == 0;
      const bool in_layer = layer.rgb[i] == 255 && layer.rgb[i + 1] == 0 && layer.rgb[i + 2] == 0;
      red += in_png;
      differing += in_png != in_layer;
    }
    EXPECT_GT(red, 100u) << size << ": the walk drew too little to compare";
    EXPECT_EQ(differing, 0u) << size;
  }
  fs::remove_all(folder);
}
