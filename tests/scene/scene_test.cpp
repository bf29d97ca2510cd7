// Scenes: the two written forms read back bit for bit, the programs'
// pictures drawn from their scenes, bad scenes refused by the real command,
// and the SVG drawn back by rsvg-convert against the PNG.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "draw_scene.h"
#include "program_scenes.h"
#include "rgb_image.h"
#include "run_program.h"
#include "scene_json.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t clock_value = 1700000000;

struct ProgramPicture {
  std::string program;
  int picture;
};

// Every frame offered as a scene: the "Scenes: frames ..." lines of
// programs/texts.md, which the page's "Explore this picture" reads too.
std::vector<ProgramPicture> offered_pictures() {
  std::vector<ProgramPicture> list;
  std::ifstream texts(fs::path(PROGRAM_LIST).replace_filename("texts.md"));
  std::string line, program;
  while (std::getline(texts, line)) {
    if (line.rfind("## ", 0) == 0) program = line.substr(3);
    if (line.rfind("Scenes: frames ", 0) != 0) continue;
    std::istringstream ranges(line.substr(15));
    for (std::string range; std::getline(ranges, range, ',');) {
      const int first = std::stoi(range);
      const std::size_t dash = range.find('-');
      const int last = dash == std::string::npos ? first : std::stoi(range.substr(dash + 1));
      for (int k = first; k <= last; ++k) list.push_back({program, k});
    }
  }
  EXPECT_GE(list.size(), 40u) << "programs/texts.md offers too few scenes";
  return list;
}

Scene scene_of(const ProgramPicture& p, std::uint32_t clock = clock_value) {
  Scene scene{};
  std::string refusal;
  EXPECT_TRUE(program_scene(p.program, p.picture, clock, scene, refusal)) << refusal;
  return scene;
}

std::vector<std::uint32_t> drawn(const Scene& scene) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(scene.width) * scene.height);
  draw_scene(scene, {pixels.data(), scene.width, scene.height, scene.width});
  for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

std::string read_text(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A scene of three circles, outlines and a walk, that the bad-scene rows edit.
const std::string small_scene = R"({
  "width": 800, "height": 600, "background": "white",
  "view": {"x": 0, "y": 0, "scale": 200}, "numbers": "double",
  "circles": [{"x": 0, "y": 0, "r": 0.25}, {"x": 0, "y": 2, "r": 1.5}, {"x": -1.7, "y": -1, "r": 1.5}],
  "layers": [
    {"draw": "outlines", "circles": "all", "colour": "black"},
    {"draw": "walk", "circles": [0, 1, 2], "pick": "random", "inside": "invert", "point": "double",
     "steps": 1000, "burn_in": 10, "start": {"x": 3, "y": 3}, "previous": "none", "seed": 1,
     "skip": 0, "colour": "red", "plot": "pixel"}
  ]
})";

std::string edited(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos)
    ADD_FAILURE() << "the scene holds no " << from;
  else
    text.replace(at, from.size(), to);
  return text;
}

// Runs render_scene with `arguments` in a fresh folder holding scene.json;
// returns its status, with its standard error and the folder's files after.
int render(const std::string& scene_text, const std::string& arguments, std::string& error,
           std::vector<std::string>& files) {
  const fs::path folder = fs::temp_directory_path() / ("render-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream(folder / "scene.json") << scene_text;
  const std::string command =
      "cd '" + folder.string() + "' && '" RENDER_SCENE "' " + arguments + " >/dev/null 2>err";
  const int status = std::system(command.c_str());
  error = read_text(folder / "err");
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename() != "err" && entry.path().filename() != "scene.json")
      files.push_back(entry.path().filename().string());
  fs::remove_all(folder);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(SceneForms, JsonAndLinkReadBackBitForBit) {
  std::vector<Scene> scenes;
  for (const ProgramPicture& p : offered_pictures()) scenes.push_back(scene_of(p));
  // Odd numbers and choices: signed zero, the smallest and largest doubles,
  // a value with no short decimal, hex and skipped colours, a chosen order.
  const std::string odd[] = {
      edited(edited(small_scene, R"("x": 0, "y": 0, "r": 0.25)",
                    R"("x": -0.0, "y": 5e-324, "r": 1.7976931348623157e308)"),
             R"("colour": "black")", R"("colour": "#0a0b0c")"),
      edited(edited(small_scene, R"("circles": [0, 1, 2])", R"("circles": [2, 0])"),
             R"("previous": "none")", R"("previous": 1)"),
      edited(
          edited(
              small_scene, R"({"draw": "outlines", "circles": "all", "colour": "black"})",
              R"({"draw": "generations", "circles": [1, 2], "style": "outlines", "colours": ["none", "#ffeedd"]})"),
          R"("x": 3, "y": 3)", R"("x": 0.1, "y": -1e-300)"),
  };
  for (const std::string& text : odd) {
    Scene scene{};
    SceneErrors errors;
    ASSERT_TRUE(read_scene_json(text, scene, errors)) << error_line(errors);
    scenes.push_back(scene);
  }
  for (const Scene& scene : scenes) {
    Scene from_json{}, from_link{};
    SceneErrors errors;
    const std::string text = scene_json_text(scene), link = scene_link(scene);
    ASSERT_TRUE(read_scene_json(text, from_json, errors)) << error_line(errors) << "\n" << text;
    ASSERT_TRUE(read_scene_link(link, from_link, errors)) << error_line(errors) << "\n" << link;
    EXPECT_TRUE(from_json == scene) << text;
    EXPECT_TRUE(from_link == scene) << link;
    EXPECT_EQ(scene_json_text(from_link), text);
    EXPECT_EQ(link.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-._~=&,:"),
              std::string::npos)
        << link;
  }
}

// The texts offer exactly the frames the engine takes as scenes.
TEST(ProgramScenes, AreTheFramesTheTextsOffer) {
  const std::vector<ProgramPicture> offered = offered_pictures();
  for (const ListedProgram& program : listed_programs()) {
    for (int k = 1; k <= program.frames + 1; ++k) {
      Scene scene{};
      std::string refusal;
      const bool listed = std::any_of(offered.begin(), offered.end(), [&](const ProgramPicture& p) {
        return p.program == program.name && p.picture == k;
      });
      EXPECT_EQ(program_scene(program.name, k, clock_value, scene, refusal), listed)
          << program.name << ":" << k << " " << refusal;
    }
  }
}

TEST(ProgramScenes, DrawTheProgramsFramesPixelForPixel) {
  for (const std::uint32_t clock : {clock_value, 4294967295u}) {
    std::map<std::string, ProgramRun> runs;
    RunOptions options;
    options.clock = clock;
    for (const ProgramPicture& p : offered_pictures()) {
      auto run = runs.find(p.program);
      if (run == runs.end()) run = runs.emplace(p.program, run_program(p.program, options)).first;
      ASSERT_GE(run->second.pictures.size(), static_cast<std::size_t>(p.picture)) << p.program;
      const Picture& picture = run->second.pictures[p.picture - 1];
      const Scene scene = scene_of(p, clock);
      ASSERT_EQ(scene.width, picture.width);
      ASSERT_EQ(scene.height, picture.height);
      const std::vector<std::uint32_t> pixels = drawn(scene);
      std::size_t differing = 0;
      for (std::size_t i = 0; i < pixels.size(); ++i) differing += pixels[i] != picture.rgb[i];
      EXPECT_EQ(differing, 0u) << p.program << ":" << p.picture << " at clock " << clock;
    }
  }
}

// Picture K is the frame on screen at a real run's K-th wait, and the
// frames are its flips; one picture past the last is refused.
TEST(ProgramScenes, PictureKIsTheFrameShownAtTheKthWait) {
  RunOptions options;
  options.save_pictures = false;
  for (const ListedProgram& program : listed_programs()) {
    const ProgramRun run = run_program(program.name, options);
    std::vector<int> shown;
    for (int flips = 0; const std::string& line : run.log) {
      flips += line.starts_with("flip ");
      if (line == "event key") shown.push_back(flips);
    }
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(program.pictures)) << program.name;
    PictureFrame found;
    std::string refusal;
    for (int k = 1; k <= program.pictures; ++k) {
      ASSERT_TRUE(picture_frame(program.name, k, found, refusal)) << refusal;
      EXPECT_EQ(found.frame, shown[k - 1]) << program.name << " picture " << k;
      EXPECT_EQ(found.frames, run.flips) << program.name;
    }
    EXPECT_FALSE(picture_frame(program.name, program.pictures + 1, found, refusal)) << program.name;
  }
}

TEST(RenderCommand, RefusesBadScenesWithOneLineAndWritesNothing) {
  struct Row {
    std::string scene;
    std::string arguments;
    std::string line;
  };
  const auto with = [](const std::string& from, const std::string& to) {
    return edited(small_scene, from, to);
  };
  std::string fourteen_circles;
  for (int k = 0; k < 14; ++k) fourteen_circles += R"({"x": 9, "y": 9, "r": 1}, )";
  const Row rows[] = {
      {"{\"width\": ", "scene.json",
       "scene.json: not JSON: parse error at line 1, column 11: syntax error while "
       "parsing value - unexpected end of input; expected '[', '{', or a literal"},
      {with(R"("numbers": "double",)", ""), "scene.json", "scene.json: numbers: missing"},
      {with(R"("width": 800,)", R"("width": 800, "depth": 3,)"), "scene.json",
       "scene.json: depth: unknown field"},
      {with(R"("x": -1.7)", R"("x": 1e999)"), "scene.json",
       "scene.json: not JSON: number overflow parsing '1e999'"},
      {small_scene, "'size=800x600&background=white&view=0,0,200&numbers=double&circle=1e999,0,1'",
       "link: circles[0].x: must be a finite number"},
      {with(R"("y": -1, "r": 1.5)", R"("y": -1, "r": -1.5)"), "scene.json",
       "scene.json: circles[2].r: must be a positive number"},
      {with(R"("r": 0.25)", R"("r": 0)"), "scene.json",
       "scene.json: circles[0].r: must be a positive number"},
      {with(R"("height": 600)", R"("height": 0)"), "scene.json",
       "scene.json: height: must be a whole number from 1 to 16384"},
      {with(R"("width": 800)", R"("width": 16385)"), "scene.json",
       "scene.json: width: must be a whole number from 1 to 16384"},
      {with(R"("circles": [)", R"("circles": [)" + fourteen_circles), "scene.json",
       "scene.json: circles: 17 circles, more than a walk takes (16)"},
      {with(R"("steps": 1000)", R"("steps": 100000000001)"), "scene.json",
       "scene.json: layers[1].steps: must be a whole number from 0 to 100000000000"},
      {with(R"("colour": "black")", R"("colour": "purple")"), "scene.json",
       "scene.json: layers[0].colour: unknown colour \"purple\" (white, black, red, green, blue or "
       "yellow, or #rrggbb)"},
      {with(R"("pick": "random")", R"("pick": "shuffle")"), "scene.json",
       "scene.json: layers[1].pick: unknown pick rule \"shuffle\" (random or cyclic)"},
      {with(R"("previous": "none")", R"("previous": 3)"), "scene.json",
       "scene.json: layers[1].previous: must be a whole number from 0 to 2"},
      {with(R"("r": 0.25)", R"("r": -1)"), "scene.json --out out.svg",
       "scene.json: circles[0].r: must be a positive number"},
      {small_scene, "'size=800x600&background=white&view=0,0,200&numbers=double&circle=0,0,-1'",
       "link: circles[0].r: must be a positive number"},
      {small_scene,
       "'http://localhost/"
       "explore.html?size=800x600&background=white&view=0,0,200&numbers=float&walk=all'",
       "link: layers[0]: walk wants 13 values, not 1"},
      {small_scene, "ring_zoom:2",
       "ring_zoom@2: not one scene: it overlays 2 stages of 15 circles, more than a scene's 16"},
      {small_scene, "four_circle_packing:3",
       "four_circle_packing@3: not one scene: each image takes a colour drawn at random"},
      {small_scene, "soddy_gasket:3", "soddy_gasket has frames 1 to 2, not 3"},
  };
  for (const Row& row : rows) {
    std::string error;
    std::vector<std::string> files;
    EXPECT_EQ(render(row.scene, row.arguments, error, files), 2) << row.arguments;
    EXPECT_EQ(error, row.line + "\n") << row.arguments;
    EXPECT_TRUE(files.empty()) << row.arguments << " wrote " << files.front();
  }
}

TEST(RenderCommand, SvgCirclesFallOnThePngsCircles) {
  const fs::path folder = fs::temp_directory_path() / ("svg-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  // Circles only: discs and generations, outlines, generation outlines.
  std::vector<Scene> scenes = {scene_of({"soddy_gasket", 1}), scene_of({"four_circle_packing", 4}),
                               scene_of({"five_circle_limit", 2})};
  scenes[2].layers[1] = scenes[2].layers[2];  // the outlines without the walk
  scenes[2].layer_count = 2;
  scenes.push_back(scenes[0]);
  scenes[3].layers[1].style = GenerationStyle::outlines;
  for (const Scene& scene : scenes) {
    std::ofstream(folder / "scene.json") << scene_json_text(scene);
    const std::string base = "cd '" + folder.string() + "' && '" RENDER_SCENE "' scene.json --out ";
    ASSERT_EQ(std::system((base + "a.png >/dev/null").c_str()), 0);
    ASSERT_EQ(std::system(
                  (base + "a.svg >/dev/null && rsvg-convert -w 800 -h 600 a.svg -o b.png").c_str()),
              0);
    RgbImage png, svg;
    std::string error;
    ASSERT_TRUE(read_png_rgb((folder / "a.png").string(), png, error)) << error;
    ASSERT_TRUE(read_png_rgb((folder / "b.png").string(), svg, error)) << error;
    ASSERT_EQ(svg.width, png.width);
    const auto at = [](const RgbImage& image, int x, int y) {
      const std::uint8_t* p = &image.rgb[3 * (static_cast<std::size_t>(y) * image.width + x)];
      return static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]);
    };
    const auto distance = [](std::uint32_t a, std::uint32_t b) {
      int most = 0;
      for (int shift = 0; shift < 24; shift += 8)
        most = std::max(most, std::abs(int(a >> shift & 255) - int(b >> shift & 255)));
      return most;
    };
    const auto between = [](std::uint32_t c, std::uint32_t a, std::uint32_t b) {
      for (int shift = 0; shift < 24; shift += 8) {
        const int v = c >> shift & 255, low = std::min(a >> shift & 255, b >> shift & 255),
                  high = std::max(a >> shift & 255, b >> shift & 255);
        if (v < low - 8 || v > high + 8) return false;
      }
      return true;
    };
    // Antialiasing spreads an edge over its neighbours: a drawn pixel wants
    // a clearly covered one within one pixel in the other picture, and a
    // pixel inside a region of one colour the same colour.
    const std::uint32_t background = scene.background;
    int misplaced = 0, miscoloured = 0;
    for (int y = 1; y + 1 < png.height; ++y)
      for (int x = 1; x + 1 < png.width; ++x) {
        bool png_near = false, svg_near = false, uniform = true;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            png_near = png_near || at(png, x + dx, y + dy) != background;
            svg_near = svg_near || distance(at(svg, x + dx, y + dy), background) >= 96;
            uniform = uniform && at(png, x + dx, y + dy) == at(png, x, y);
          }
        misplaced += (at(png, x, y) != background && !svg_near) +
                     (distance(at(svg, x, y), background) >= 160 && !png_near);
        // Edges of many small discs side by side bleed a little into their
        // neighbours, and where two discs touch the background shows through.
        miscoloured += uniform && distance(at(svg, x, y), at(png, x, y)) > 40 &&
                       !between(at(svg, x, y), at(png, x, y), background);
      }
    EXPECT_EQ(misplaced, 0) << scene_link(scene);
    EXPECT_EQ(miscoloured, 0) << scene_link(scene);
  }
  fs::remove_all(folder);
}
