// Scenes: the two written forms read back bit for bit, the programs'
// pictures drawn from their scenes, bad scenes refused by the real command,
// and the SVG drawn back by rsvg-convert against the PNG.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
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
#include "scene_walk.h"
#include "threaded_walk.h"

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
  SceneErrors errors;
  EXPECT_TRUE(program_scene(p.program, p.picture, clock, scene, errors)) << error_line(errors);
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

// A scene of three circles, outlines and a walk, that the bad-scene rows
// edit (tests/web/schema_test.mjs edits it too).
const std::string small_scene = read_text(SMALL_SCENE);

std::string edited(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos)
    ADD_FAILURE() << "the scene holds no " << from;
  else
    text.replace(at, from.size(), to);
  return text;
}

// Runs render_scene with `arguments` in a fresh folder holding scene.json,
// after the shell command `setup` there; returns its status, with its
// standard error and the files it left in the folder.
int render(const std::string& scene_text, const std::string& arguments, std::string& error,
           std::vector<std::string>& files, const std::string& setup = "true") {
  const fs::path folder = fs::temp_directory_path() / ("render-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream(folder / "scene.json") << scene_text;
  const std::string in = "cd '" + folder.string() + "' && ";
  EXPECT_EQ(std::system((in + setup + " && touch err").c_str()), 0) << setup;
  std::vector<fs::path> before;
  for (const auto& entry : fs::directory_iterator(folder)) before.push_back(entry.path());
  const std::string command = in + "'" RENDER_SCENE "' " + arguments + " >/dev/null 2>err";
  const int status = std::system(command.c_str());
  error = read_text(folder / "err");
  for (const auto& entry : fs::directory_iterator(folder))
    if (std::find(before.begin(), before.end(), entry.path()) == before.end())
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
      edited(small_scene, R"({"draw": "outlines", "circles": "all", "colour": "black"})",
             R"({"draw": "limit_set", "circles": [2, 0], "colours": ["#0a0b0c", "red"],
                 "plot": "disc2", "depth": 7}, {"draw": "limit_set", "colour": "#010203"})"),
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

// Texts written out here, read against the values they must give, so two
// fields swapped in both the reader and the writer are seen: a scene whose
// every value differs, and the README's own link and file.
TEST(SceneForms, FixedTextsGiveTheirValues) {
  const std::string json = R"({"width": 640, "height": 480, "background": "#102030",
    "view": {"x": 0.5, "y": -0.25, "scale": 150}, "numbers": "float",
    "circles": [{"x": 1, "y": 2, "r": 3}, {"x": -4, "y": 5, "r": 6}, {"x": 7, "y": -8, "r": 9}],
    "layers": [{"draw": "discs", "circles": [2, 0], "colour": "blue"},
      {"draw": "generations", "circles": [1, 2], "style": "outlines", "colours": ["none", "#abcdef"]},
      {"draw": "walk", "circles": "all", "pick": "cyclic", "inside": "refuse", "point": "float",
       "steps": 1234, "burn_in": 56, "start": {"x": 7.5, "y": -8.5}, "previous": 1, "seed": 99,
       "skip": 12, "colour": "#123456", "plot": "ring2"}]})";
  const std::string link =
      "size=640x480&background=102030&view=0.5,-0.25,150.0&numbers=float&circle=1.0,2.0,3.0"
      "&circle=-4.0,5.0,6.0&circle=7.0,-8.0,9.0&discs=2:0,blue&generations=1:2,outlines,none:abcdef"
      "&walk=all,cyclic,refuse,float,1234,56,7.5,-8.5,1,99,12,123456,ring2";
  Scene want{};
  want.width = 640, want.height = 480, want.background = 0x102030, want.view = {0.5, -0.25, 150};
  want.numbers = CircleNumbers::float_width, want.circle_count = 3, want.layer_count = 3;
  want.circles[0] = {1, 2, 3}, want.circles[1] = {-4, 5, 6}, want.circles[2] = {7, -8, 9};
  want.layers[0].kind = LayerKind::discs, want.layers[0].circles = {false, 2, {2, 0}};
  want.layers[0].colour = 0x0000FA;
  Layer& generations = want.layers[1];
  generations.kind = LayerKind::generations, generations.circles = {false, 2, {1, 2}};
  generations.depth = 2, generations.colours[0] = no_colour, generations.colours[1] = 0xABCDEF;
  generations.style = GenerationStyle::outlines;
  want.layers[2].kind = LayerKind::walk, want.layers[2].circles.all = true;
  want.layers[2].colour = 0x123456;
  want.layers[2].walk = {PickRule::cyclic, InsideRule::refuse, PointStorage::float_width, 1234, 56,
                         7.5, -8.5, 1, 99, 12, WalkPlot::ring2};
  Scene from_json{}, from_link{};
  SceneErrors errors;
  ASSERT_TRUE(read_scene_json(json, from_json, errors)) << error_line(errors);
  ASSERT_TRUE(read_scene_link(link, from_link, errors)) << error_line(errors);
  EXPECT_TRUE(from_json == want) << scene_json_text(from_json);
  EXPECT_TRUE(from_link == want) << scene_json_text(from_link);
  // The writer names the values, in the JSON's order, leaving out defaults.
  EXPECT_EQ(scene_link(want),
            "size=640x480&background=102030&view=0.5,-0.25,150.0&numbers=float&circle=1.0,2.0,3.0"
            "&circle=-4.0,5.0,6.0&circle=7.0,-8.0,9.0&discs=circles:2:0,colour:blue"
            "&generations=circles:1:2,style:outlines,colours:none:abcdef"
            "&walk=pick:cyclic,inside:refuse,point:float,steps:1234,burn_in:56,x:7.5,y:-8.5,"
            "previous:1,seed:99,skip:12,colour:123456,plot:ring2");

  const std::string readme_link =
      "size=800x600&background=white&view=0.0,0.0,200.0&numbers=float"
      "&circle=0.0,0.0,0.2679491937160492&circle=0.0,2.0,1.7320507764816284"
      "&circle=-1.7320507764816284,-1.0,1.7320507764816284&outlines=all,black"
      "&walk=all,random,invert,double,500000,1001,10.0,3.0,0,1700000000,0,red,ring1";
  ASSERT_TRUE(read_scene_link(readme_link, from_link, errors)) << error_line(errors);
  EXPECT_EQ(from_link.layers[1].walk.seed, 1700000000u);
  EXPECT_EQ(from_link.layers[1].walk.skip, 0);
  EXPECT_TRUE(from_link == scene_of({"soddy_gasket", 2})) << scene_json_text(from_link);
  EXPECT_EQ(scene_link(from_link),
            "view=0.0,0.0,200.0&numbers=float&circle=0.0,0.0,0.2679491937160492"
            "&circle=0.0,2.0,1.7320507764816284&circle=-1.7320507764816284,-1.0,1.7320507764816284"
            "&outlines=&walk=steps:500000,burn_in:1001,x:10.0,y:3.0,previous:0,seed:1700000000,"
            "colour:red,plot:ring1");
  // The README's file: what --out writes, every default left out.
  const std::string readme_file = R"({"version": 1, "view": {"x": 0.0, "y": 0.0, "scale": 200.0},
    "numbers": "float", "circles": [{"x": 0.0, "y": 0.0, "r": 0.2679491937160492},
      {"x": 0.0, "y": 2.0, "r": 1.7320507764816284},
      {"x": -1.7320507764816284, "y": -1.0, "r": 1.7320507764816284}],
    "layers": [{"draw": "outlines"}, {"draw": "walk", "steps": 500000, "burn_in": 1001,
      "start": {"x": 10.0, "y": 3.0}, "previous": 0, "seed": 1700000000, "colour": "red",
      "plot": "ring1"}]})";
  EXPECT_EQ(nlohmann::ordered_json::parse(scene_json_text(from_link)),
            nlohmann::ordered_json::parse(readme_file));
}

// Links given out before the layers named their values, each written out
// here, open to the program's scene it was given for; and the writer's
// named text for one of them.
TEST(SceneForms, PositionalLinksGiveTheirScenes) {
  const std::pair<ProgramPicture, std::string> rows[] = {
      {{"soddy_gasket", 2},  // the README's link
       "size=800x600&background=white&view=0.0,0.0,200.0&numbers=float"
       "&circle=0.0,0.0,0.2679491937160492&circle=0.0,2.0,1.7320507764816284"
       "&circle=-1.7320507764816284,-1.0,1.7320507764816284&outlines=all,black"
       "&walk=all,random,invert,double,500000,1001,10.0,3.0,0,1700000000,0,red,ring1"},
      {{"five_circle_limit", 4},
       "size=800x600&background=white&view=0.0,0.0,5.0&numbers=double&circle=1.0,1.0,1.0"
       "&circle=-1.0,1.0,1.0&circle=-1.0,-1.0,1.0&circle=1.0,-1.0,1.0&circle=0.0,0.0,2.414"
       "&circle=3.414213562373095,0.0,2.414213562373095&circle=0.0,3.414213562373095,2.414213562373095"
       "&circle=-3.414213562373095,0.0,2.414213562373095&circle=0.0,-3.414213562373095,2.414213562373095"
       "&circle=0.0,0.0,5.82842712474619&circle=5.82842712474619,-5.82842712474619,5.82842712474619"
       "&circle=5.82842712474619,5.82842712474619,5.82842712474619"
       "&circle=-5.82842712474619,5.82842712474619,5.82842712474619"
       "&circle=-5.82842712474619,-5.82842712474619,5.82842712474619&circle=0.0,0.0,14.071067811865474"
       "&outlines=0:1:2:3:4,black"
       "&walk=0:1:2:3:4,random,invert,double,100000,0,3.0,3.0,none,1700000000,0,black,pixel"
       "&outlines=5:6:7:8:9,green"
       "&walk=5:6:7:8:9,random,invert,double,100000,0,3.0,3.0,2,1700000000,125285,green,pixel"
       "&outlines=10:11:12:13:14,red"
       "&walk=10:11:12:13:14,random,invert,double,100000,0,3.0,3.0,4,1700000000,250328,red,pixel"},
      {{"four_circle_packing", 4},
       "size=800x600&background=white&view=0.08695652173913043,-0.6521739130434783,230.0"
       "&numbers=float&circle=0.0,-0.10000000149011612,0.4050000011920929"
       "&circle=-1.399999976158142,-0.0,1.0&circle=1.7100000381469727,0.1979999989271164,1.3300000429153442"
       "&circle=0.0,-2.5,1.8650000095367432&generations=all,discs,none:none:black"},
      {{"two_circle_iteration", 3},
       "size=800x600&background=white&view=0.0,-0.5,200.0&numbers=float"
       "&circle=0.0,-2.0,1.2000000476837158&circle=0.0,2.200000047683716,2.9000000953674316"
       "&outlines=all,black&walk=all,cyclic,invert,double,1000,11,3.0,3.0,none,1,0,black,ring2"
       "&discs=all,blue&generations=all,discs,black:red"},
      {{"soddy_radius_sweep", 8},
       "size=800x600&background=white&view=0.0,0.0,120.0&numbers=float"
       "&circle=0.0,0.0,0.3679491877555847&circle=0.0,2.0,1.7320507764816284"
       "&circle=-1.7320507764816284,-1.0,1.7320507764816284"
       "&circle=1.7320507764816284,-1.0,1.7320507764816284&outlines=all,black"
       "&walk=all,random,refuse,double,200000,2,10.0,3.0,3,1700000000,799814,red,pixel"},
  };
  for (const auto& [picture, link] : rows) {
    Scene scene{};
    SceneErrors errors;
    ASSERT_TRUE(read_scene_link(link, scene, errors)) << error_line(errors) << "\n" << link;
    EXPECT_TRUE(scene == scene_of(picture)) << picture.program << ":" << picture.picture;
  }
  EXPECT_EQ(scene_link(scene_of({"two_circle_iteration", 3})),
            "view=0.0,-0.5,200.0&numbers=float&circle=0.0,-2.0,1.2000000476837158"
            "&circle=0.0,2.200000047683716,2.9000000953674316&outlines="
            "&walk=pick:cyclic,steps:1000,burn_in:11,x:3.0,y:3.0,seed:1,plot:ring2"
            "&discs=colour:blue&generations=colours:black:red");
}

// A scene written by hand leaves out what has a natural default, and a
// link's layer may name its values in any order: each short text reads
// as the full text beside it, written out here.
TEST(SceneForms, ShortFormsReadAsTheFullForms) {
  const std::string circles = R"("circles": [{"x": 0, "y": 0, "r": 2}, {"x": 4, "y": 0, "r": 2}])";
  const std::string full_head = R"({"width": 800, "height": 600, "background": "white",
    "view": {"x": 2, "y": 0, "scale": 90}, "numbers": "double", )" + circles;
  const std::string walk = R"("draw": "walk", "circles": "all", "pick": "random", "inside": "invert",
    "point": "double", "steps": 500, "burn_in": 0, "previous": "none", "seed": 7, "skip": 0,
    "colour": "black", "plot": "pixel", "start": )";
  const std::pair<std::string, std::string> rows[] = {
      {"{" + circles + R"(, "layers": [{"draw": "walk", "steps": 500, "seed": 7}]})",
       full_head + R"(, "layers": [{)" + walk +
           R"({"x": 2.6666666666666665, "y": 0.6666666666666666}}]})"},
      {R"({"version": 1, "width": 400, "view": {"x": 0, "y": 0, "scale": 10}, )" + circles +
           R"(, "layers": [{"draw": "walk", "steps": 500, "seed": 7}, {"draw": "discs"},
           {"draw": "generations", "colours": ["red"]}]})",
       R"({"width": 400, "height": 600, "background": "white", "view": {"x": 0, "y": 0, "scale": 10},
           "numbers": "double", )" + circles + R"(, "layers": [{)" + walk +
           R"({"x": 6, "y": 6}}, {"draw": "discs", "circles": "all", "colour": "black"},
           {"draw": "generations", "circles": "all", "style": "discs", "colours": ["red"]}]})"},
  };
  const std::string head = "size=800x600&background=white&view=0,0,200&numbers=float"
                           "&circle=0,0,0.25&circle=0,2,1.5&circle=-1.7,-1,1.5";
  const std::pair<std::string, std::string> links[] = {
      {"&walk=steps:500000,burn_in:1001,x:10.0,y:3.0,previous:0,seed:1700000000,colour:red,"
       "plot:ring1",
       "&walk=all,random,invert,double,500000,1001,10.0,3.0,0,1700000000,0,red,ring1"},
      {"&walk=plot:ring2,colour:123456,skip:12,seed:99,previous:1,y:-8.5,x:7.5,burn_in:56,"
       "steps:1234,point:float,inside:refuse,pick:cyclic,circles:2:0",
       "&walk=2:0,cyclic,refuse,float,1234,56,7.5,-8.5,1,99,12,123456,ring2"},
      {"&generations=style:outlines,colours:none:abcdef,circles:1:2&discs=colour:blue",
       "&generations=1:2,outlines,none:abcdef&discs=all,blue"},
  };
  const auto read = [](const std::string& text, bool link) {
    Scene scene{};
    SceneErrors errors;
    EXPECT_TRUE(link ? read_scene_link(text, scene, errors) : read_scene_json(text, scene, errors))
        << error_line(errors) << "\n" << text;
    return scene;
  };
  // A link may leave out size, background, view and numbers, and a layer
  // every value but a walk's steps and seed, as a file may.
  const std::pair<std::string, std::string> whole_links[] = {
      {"circle=0,0,2&circle=4,0,2&walk=steps:500,seed:7&outlines=",
       "size=800x600&background=white&view=2,0,90&numbers=double&circle=0,0,2&circle=4,0,2"
       "&walk=all,random,invert,double,500,0,2.6666666666666665,0.6666666666666666,none,7,0,"
       "black,pixel&outlines=all,black"},
      {"size=400x600&circle=0,0,2&circle=4,0,2&discs=&generations=colours:red",
       "size=400x600&background=white&view=2,0,45&numbers=double&circle=0,0,2&circle=4,0,2"
       "&discs=all,black&generations=all,discs,red"},
  };
  for (const auto& [short_text, full_text] : rows)
    EXPECT_TRUE(read(short_text, false) == read(full_text, false)) << short_text;
  // A limit set: every default, the palette by name, and its link.
  const std::string limit_head = R"({"view": {"x": 0, "y": 0, "scale": 200}, "circles": [
    {"x": 0, "y": 0, "r": 0.25}, {"x": 0, "y": 2, "r": 1.5}, {"x": -1.7, "y": -1, "r": 1.5}],
    "layers": [)";
  const std::pair<std::string, std::string> limit_rows[] = {
      {R"({"draw": "limit_set"})",
       R"({"draw": "limit_set", "circles": "all", "colour": "black", "plot": "pixel", "depth": 4096})"},
      {R"({"draw": "limit_set", "circles": [2, 0], "colours": "by_first_circle", "depth": 9})",
       R"({"draw": "limit_set", "circles": [2, 0], "colours": ["red", "blue"], "depth": 9})"},
  };
  for (const auto& [short_text, full_text] : limit_rows)
    EXPECT_TRUE(read(limit_head + short_text + "]}", false) ==
                read(limit_head + full_text + "]}", false))
        << short_text;
  const std::string limit_link = "size=800x600&background=white&view=0,0,200&numbers=double"
                                 "&circle=0,0,0.25&circle=0,2,1.5&circle=-1.7,-1,1.5";
  EXPECT_TRUE(read(limit_link + "&limit_set=", true) ==
              read(limit_head + limit_rows[0].second + "]}", false));
  EXPECT_TRUE(
      read(limit_link + "&limit_set=depth:9,colours:red:blue,circles:2:0&limit_set=plot:disc1",
           true) == read(limit_head + limit_rows[1].second +
                             R"(, {"draw": "limit_set", "plot": "disc1"}]})",
                         false));
  for (const auto& [named, positional] : links)
    EXPECT_TRUE(read(head + named, true) == read(head + positional, true)) << named;
  for (const auto& [short_link, full_link] : whole_links)
    EXPECT_TRUE(read(short_link, true) == read(full_link, true)) << short_link;
}

// The longest link a scene can give: 16 circles and 16 walks, every
// number at full precision and every value away from its default. It must
// fit the suite's server's query (web/serve.mjs: 16 KiB); the README
// states its length.
TEST(SceneForms, LongestLinkFitsTheServersQuery) {
  const double number = -1.2345678901234567e-300;
  Scene scene{};
  scene.width = 16384, scene.height = 16384, scene.background = 0xABCDEF;
  scene.view = {number, number, -number}, scene.numbers = CircleNumbers::float_width;
  scene.circle_count = max_scene_circles, scene.layer_count = max_scene_layers;
  for (int k = 0; k < max_scene_circles; ++k) scene.circles[k] = {number, number, -number};
  for (int k = 0; k < max_scene_layers; ++k) {
    Layer& layer = scene.layers[k];
    layer.kind = LayerKind::walk, layer.colour = 0xABCDEF;
    layer.circles.all = false, layer.circles.count = max_scene_circles;
    for (int i = 0; i < max_scene_circles; ++i) layer.circles.index[i] = max_scene_circles - 1 - i;
    layer.walk = {PickRule::cyclic, InsideRule::refuse, PointStorage::float_width, max_walk_steps,
                  max_walk_steps, number, number, max_scene_circles - 1, 4294967295u,
                  max_walk_skip, WalkPlot::ring2};
  }
  const std::string link = scene_link(scene);
  Scene read{};
  SceneErrors errors;
  ASSERT_TRUE(read_scene_link(link, read, errors)) << error_line(errors);
  EXPECT_TRUE(read == scene);
  EXPECT_EQ(link.size(), 5471u) << link;  // the README's figure
  EXPECT_LE(link.size(), 16u * 1024);
}

// The texts offer exactly the frames the engine takes as scenes.
TEST(ProgramScenes, AreTheFramesTheTextsOffer) {
  const std::vector<ProgramPicture> offered = offered_pictures();
  for (const ListedProgram& program : listed_programs()) {
    for (int k = 1; k <= program.frames + 1; ++k) {
      Scene scene{};
      SceneErrors errors;
      const bool listed = std::any_of(offered.begin(), offered.end(), [&](const ProgramPicture& p) {
        return p.program == program.name && p.picture == k;
      });
      EXPECT_EQ(program_scene(program.name, k, clock_value, scene, errors), listed)
          << program.name << ":" << k << " " << error_line(errors);
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

// Every offered frame with a walk, and each of them whose last walk's
// circles nest with that walk drawn as a limit set, coloured by first
// circle, between or after the threaded walks; a walk of rings on the
// middle row (circles centred on y = 0 keep every point there), where two
// bands meet; and walks that start on a circle's centre, so their first
// pick is refused; on 1, 2 and 3 threads (the chain alone, one band, two
// bands split at the middle row), at each one's own steps, at three blocks
// of steps and a part round (blocks handed over mid-walk), and at 500
// steps past the burn-in, where a ring crossing two bands is not hidden by
// others.
TEST(SceneThreads, EveryWalkSceneDrawsTheSamePixelsOnAnyThreads) {
  std::vector<std::pair<std::string, Scene>> walks;
  for (const ProgramPicture& p : offered_pictures()) {
    const Scene scene = scene_of(p);
    const Layer* end = scene.layers + scene.layer_count;
    if (std::any_of(scene.layers, end, [](const Layer& l) { return l.kind == LayerKind::walk; }))
      walks.push_back({p.program + "@" + std::to_string(p.picture), scene});
  }
  EXPECT_GE(walks.size(), 20u) << "too few walk scenes offered";
  for (std::size_t i = 0, offered = walks.size(); i < offered; ++i) {
    Scene limit = walks[i].second, read;
    Layer* last = limit.layers + limit.layer_count - 1;
    while (last->kind != LayerKind::walk) --last;
    last->kind = LayerKind::limit_set;
    last->limit = {true, {}, LimitPlot::disc1, default_limit_depth};
    std::copy_n(limit_set_palette, max_scene_circles, last->limit.colours);
    SceneErrors refused;  // circles that do not nest
    if (read_scene_json(scene_json_text(limit), read, refused))
      walks.push_back({walks[i].first + " with a limit set", read});
  }
  EXPECT_GE(walks.size(), 30u) << "too few limit sets";
  Scene middle_row;
  SceneErrors errors;
  std::string text = edited(small_scene, R"([{"x": 0, "y": 0, "r": 0.25}, {"x": 0, "y": 2, "r": 1.5}, {"x": -1.7, "y": -1, "r": 1.5}])",
                            R"([{"x": -1.5, "y": 0, "r": 1}, {"x": 1.5, "y": 0, "r": 1}, {"x": 0, "y": 0, "r": 0.5}])");
  text = edited(edited(text, R"("start": {"x": 3, "y": 3})", R"("start": {"x": 3, "y": 0})"), R"("pixel")", R"("ring2")");
  EXPECT_TRUE(read_scene_json(text, middle_row, errors)) << error_line(errors);
  walks.push_back({"rings on the middle row", middle_row});
  // Circle 0's centre, the last pick circle 1: seed 1's first draw, and
  // the cyclic rule's first step, pick circle 0 and are refused.
  std::string on_centre = edited(small_scene, R"({"x": 3, "y": 3}, "previous": "none")", R"({"x": 0, "y": 0}, "previous": 1)");
  const std::size_t from = on_centre.find(R"({"draw": "walk")"), to = on_centre.find('}', on_centre.find("plot"));
  const std::string walk = on_centre.substr(from, to + 1 - from);
  on_centre = edited(on_centre, walk, walk + ", " + edited(walk, R"("random")", R"("cyclic")"));
  Scene refusing;
  EXPECT_TRUE(read_scene_json(on_centre, refusing, errors)) << error_line(errors);
  for (int k : {1, 2}) {
    SceneWalkRun run = begin_scene_walk(refusing, refusing.layers[k]);
    run.rules.steps = 1;
    std::uint32_t spare = 0;
    EXPECT_EQ(inversion_walk({&spare, 1, 1, 1}, run.circles, run.state, run.rules, {1, 0, 0, YAxis::up}, run.random).refused, 1);
  }
  walks.push_back({"walks refused at their start", refusing});

  for (const auto& [name, own] : walks) {
    for (const char* steps : {"its own", "three blocks of", "500 past the burn-in"}) {
      Scene scene = own;
      for (int k = 0; k < scene.layer_count; ++k) {
        SceneWalk& walk = scene.layers[k].walk;
        if (steps[0] == 't') walk.steps = 3 * threaded_block_steps + 7;
        if (steps[0] == '5') walk.steps = std::max<std::int64_t>(walk.burn_in, 0) + 500;
      }
      std::vector<std::uint32_t> one;
      for (int threads : {1, 2, 3}) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(scene.width) * scene.height);
        draw_scene(scene, {pixels.data(), scene.width, scene.height, scene.width}, nullptr, threads);
        if (threads == 1) one = pixels;
        std::size_t differ = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) differ += pixels[i] != one[i] ? 1 : 0;
        EXPECT_EQ(differ, 0u) << name << " on " << threads << " threads, " << steps << " steps";
      }
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
    SceneErrors errors;
    for (int k = 1; k <= program.pictures; ++k) {
      ASSERT_TRUE(picture_frame(program.name, k, found, errors)) << error_line(errors);
      EXPECT_EQ(found.frame, shown[k - 1]) << program.name << " picture " << k;
      EXPECT_EQ(found.frames, run.flips) << program.name;
    }
    EXPECT_FALSE(picture_frame(program.name, program.pictures + 1, found, errors)) << program.name;
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
      {with(R"("seed": 1,)", ""), "scene.json", "scene.json: layers[1].seed: missing"},
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
       "ring_zoom@19: not one scene: it overlays 19 stages of 15 circles, more than a scene's 16"},
      {small_scene, "four_circle_packing:3",
       "four_circle_packing@3: not one scene: each image takes a colour drawn at random"},
      {small_scene, "soddy_gasket:3", "soddy_gasket has pictures 1 to 2, not 3"},
      {small_scene, "scene.json --threads 0",
       "render: --threads wants a whole number from 1 to 256, not '0' (./suite render --help)"},
      {small_scene, "scene.json --threads 257",
       "render: --threads wants a whole number from 1 to 256, not '257' (./suite render --help)"},
      {edited(with(R"("draw": "outlines", "circles": "all")",
                   R"("draw": "limit_set", "circles": [1, 0])"),
              R"("r": 0.25)", R"("r": 0.6)"),
       "scene.json",
       "scene.json: layers[0]: circles 1 and 0 overlap, so their limit set is drawn by a walk, not "
       "word by word"},
      {with(R"("draw": "outlines", "circles": "all")", R"("draw": "limit_set", "circles": [1])"),
       "scene.json", "scene.json: layers[0]: a limit set takes 2 to 16 circles"},
      {with(R"("draw": "outlines", "circles": "all", "colour": "black")",
            R"("draw": "limit_set", "circles": [1, 2], "colours": ["red"])"),
       "scene.json",
       "scene.json: layers[0].colours: must be \"by_first_circle\" or a list of colours, one for "
       "each of the 2 circles chosen"},
      {small_scene, "soddy_radius_sweep@31", "soddy_radius_sweep has frames 1 to 30, not 31"},
  };
  for (const Row& row : rows) {
    std::string error;
    std::vector<std::string> files;
    EXPECT_EQ(render(row.scene, row.arguments, error, files), 2) << row.arguments;
    EXPECT_EQ(error, row.line + "\n") << row.arguments;
    EXPECT_TRUE(files.empty()) << row.arguments << " wrote " << files.front();
  }
}

// Hostile input: bad bytes in links, nesting, special and huge files, keys
// given twice, work past the stated bounds, views the resize breaks; each
// refused with one line and status 2, and each limit's last value taken.
TEST(RenderCommand, RefusesHostileInputsAtEachLimit) {
  const auto with = [](const std::string& from, const std::string& to) {
    return edited(small_scene, from, to);
  };
  const auto nested = [](std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
  };
  // Generations over `circles` circles, `depth` of them, grown but not drawn.
  const auto generations = [&](int circles, int depth) {
    std::string text = small_scene, colours = R"("none")";
    for (int k = 3; k < circles; ++k) text = edited(text, R"("circles": [)", R"("circles": [{"x": 9, "y": 9, "r": 1}, )");
    for (int g = 1; g < depth; ++g) colours += R"(, "none")";
    return edited(text, R"("outlines", "circles": "all", "colour": "black")",
                  R"("generations", "circles": "all", "style": "discs", "colours": [)" + colours +
                      "]");
  };
  const std::string link = "'size=800x600&background=white&view=0,0,200&numbers=float&circle=0,0,1";
  const std::string replaced = "\"\xEF\xBF\xBD\"";  // U+FFFD where a byte is not UTF-8
  const std::string colours = " (white, black, red, green, blue or yellow, or #rrggbb)";
  const std::string regular = ": not a regular file (a scene file is JSON of at most 4 MB)";
  const std::string too_big = ": more than 4 MB (a scene file is JSON of at most 4 MB)";
  struct Row {
    std::string scene, arguments, line, setup = "true";  // line "" : taken, status 0
  };
  const Row rows[] = {
      {small_scene, "'size=800x600&background=%FF&view=0,0,200&numbers=float&circle=0,0,1'",
       "link: background: unknown colour " + replaced + colours},
      {small_scene, "'size=800x600&background=white&view=0,0,200&numbers=%C3&circle=0,0,1'",
       "link: numbers: unknown number width " + replaced + " (double or float)"},
      {small_scene, link + "&walk=all,%FF,invert,double,5,1,1,1,0,7,0,red,ring1'",
       "link: layers[0].pick: unknown pick rule " + replaced + " (random or cyclic)"},
      {small_scene, link + "&size=800x601'", "link: size: given twice"},
      {"{\"width\": " + nested(100000) + ", \"height\": 1}", "scene.json",
       "scene.json: width: nested more than 64 deep"},
      {with(R"("width": 800)", R"("width": )" + nested(64)), "scene.json",
       "scene.json: width: nested more than 64 deep"},
      {with(R"("width": 800)", R"("width": )" + nested(63)), "scene.json",
       "scene.json: width: must be a whole number from 1 to 16384"},
      {with(R"("width": 800,)", R"("width": 800, "width": 16384,)"), "scene.json",
       "scene.json: width: given twice"},
      {with(R"("seed": 1,)", R"("seed": 1, "seed": 2,)"), "scene.json",
       "scene.json: layers[1].seed: given twice"},
      {small_scene, "/dev/zero", "/dev/zero" + regular},
      {small_scene, "fifo", "fifo" + regular, "mkfifo fifo"},
      {small_scene, ".", "." + regular},
      {small_scene, "big.json", "big.json" + too_big, "truncate -s 1G big.json"},
      {small_scene, "big.json", "big.json" + too_big, "truncate -s 4000001 big.json"},
      {small_scene + std::string(4000000 - small_scene.size(), ' '), "scene.json --out o.json", ""},
      {with(R"("background": "white")", R"("background": "#fff")"), "scene.json",
       "scene.json: background: unknown colour \"#fff\"" + colours},
      {with(R"("background": "white")", R"("background": "#fffff")"), "scene.json",
       "scene.json: background: unknown colour \"#fffff\"" + colours},
      {with(R"("background": "white")", R"("background": "#fffffff")"), "scene.json",
       "scene.json: background: unknown colour \"#fffffff\"" + colours},
      {with(R"("background": "white")", R"("background": "#ffffff")"), "scene.json --out o.json", ""},
      {generations(16, 3), "scene.json",  // 57 360 x 57 359 images wrap a 32-bit count
       "scene.json: layers[0].colours: 3 generations of these circles make more than 2000000 images"},
      {generations(16, 2), "scene.json --out o.json", ""},
      {generations(3, 5), "scene.json",
       "scene.json: layers[0].colours: 5 generations of these circles make more than 2000000 images"},
      {generations(3, 4), "scene.json --out o.json", ""},  // 756 030 images
      {with(R"("skip": 0)", R"("skip": 10000000001)"), "scene.json",
       "scene.json: layers[1].skip: must be a whole number from 0 to 10000000000"},
      {with(R"("skip": 0)", R"("skip": 10000000000)"), "scene.json --out o.json", ""},
      {with(R"("scale": 200)", R"("scale": 2.225073858507201e-308)"), "scene.json",
       "scene.json: view.scale: must be at least 2.2250738585072014e-308"},
      {with(R"("scale": 200)", R"("scale": 2.2250738585072014e-308)"), "scene.json --out o.json", ""},
      {small_scene,
       "'size=1x1&background=white&view=0,0,1e308&numbers=float&circle=0,0,1' --size 16384x16384",
       "link at --size 16384x16384: view.scale: must be a finite number"},
      {small_scene,
       "'size=16384x16384&background=white&view=0,0,1e-305&numbers=float&circle=0,0,1' --size 1x1",
       "link at --size 1x1: view.scale: must be at least 2.2250738585072014e-308"},
      {with(R"("width": 800,)", R"("version": 2, "width": 800,)"), "scene.json",
       "scene.json: version: must be 1"},
      {small_scene, link + "&walk=steps:5,seed:1,steps:3'", "link: layers[0]: steps given twice"},
      {small_scene, link + "&walk=steps:5,seed:1,speed:3'", "link: layers[0].speed: unknown field"},
      {small_scene, "soddy_gasket:99999999999", "soddy_gasket has pictures 1 to 2, not 99999999999"},
      // Motions: the frames, the two scenes, the output and the pixel budget.
      {small_scene, "scene.json scene.json --frames 1001",
       "render: --frames wants a whole number from 2 to 1000, not '1001' (./suite render --help)"},
      {small_scene, "scene.json --frames 3",
       "render: --frames wants two SCENEs, the motion's first and last, not 1 (./suite render --help)"},
      {small_scene, "scene.json scene.json --frames 3 --out m.png",
       "render: --frames writes an animated WebP: --out wants FILE.webp, not 'm.png' (./suite render --help)"},
      {small_scene, "scene.json --out m.webp",
       "render: --out FILE.webp is a motion, which wants --frames N and two SCENEs (./suite render --help)"},
      {small_scene, "scene.json scene.json --frames 4 --size 16384x16384",
       "motion from scene.json to scene.json: frames: 4 frames of 16384 x 16384 are more than 1000000000 "
       "pixels in all"},
      {small_scene, "scene.json scene.json --frames 1000 --size 8x6", ""},
      {small_scene, "scene.json b.json --frames 3",
       "motion from scene.json to b.json: layers[1].pick: \"random\" in the first scene, \"cyclic\" in the "
       "second; a walk's rules cannot be moved",
       "sed 's/\"random\"/\"cyclic\"/' scene.json >b.json"},
      {small_scene, "scene.json " + link + "' --frames 3",
       "motion from scene.json to link: circles: 3 circles in the first scene, 1 in the second; a motion moves "
       "the same circles; layers: 2 layers in the first scene, 0 in the second; a motion draws the same layers; "
       "numbers: \"double\" in the first scene, \"float\" in the second; the circles' numbers cannot be moved"},
      {small_scene, "nonsense:3",
       "nonsense: not a program with frames as scenes (soddy_gasket, five_circle_limit, "
       "ring_zoom, four_circle_packing, two_circle_iteration, soddy_radius_sweep)"},
  };
  for (const Row& row : rows) {
    std::string error;
    std::vector<std::string> files;
    const int status = render(row.scene, row.arguments, error, files, row.setup);
    const std::string shown = row.arguments.substr(0, 120);
    EXPECT_EQ(status, row.line.empty() ? 0 : 2) << shown;
    EXPECT_EQ(error, row.line.empty() ? "" : row.line + "\n") << shown;
    EXPECT_EQ(files.size(), row.line.empty() ? 1u : 0u) << shown;
  }
}

// Links and arguments given out before frames had their own word, each
// beside today's form of the same frame: the same scene, or the same
// refusal, from the real command.
TEST(RenderCommand, OldLinksAndArgumentsGiveTheSameScenes) {
  const std::pair<const char*, const char*> rows[] = {
      {"'program=soddy_radius_sweep&picture=30&clock=1700000000'",
       "'program=soddy_radius_sweep&frame=30&clock=1700000000'"},
      {"soddy_radius_sweep@30", "soddy_radius_sweep:15"},
      {"ring_zoom:2", "ring_zoom@19"},
      {"five_circle_limit:3", "five_circle_limit@3"},
      // How the explorer showed the scene is no part of it.
      {"'embed=1&program=five_circle_limit&frame=3&clock=1700000000&point=1'", "five_circle_limit@3"},
      {"'http://localhost/explore.html?size=80x60&background=white&view=0,0,20&circle=0,0,1&"
       "outlines=all,black&point=1&embed=1'",
       "'size=80x60&background=white&view=0,0,20&circle=0,0,1&outlines=all,black'"},
  };
  const fs::path folder = fs::temp_directory_path() / ("old-forms-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const auto written = [&](const std::string& argument) {  // the scene's JSON, or the refusal
    fs::remove(folder / "scene.json");
    const std::string command = "'" RENDER_SCENE "' " + argument + " --clock 1700000000 --out '" +
                                (folder / "scene.json").string() + "' >/dev/null 2>'" +
                                (folder / "err").string() + "'";
    EXPECT_NE(std::system(command.c_str()), -1) << command;
    return read_text(folder / "scene.json") + read_text(folder / "err");
  };
  for (const auto& [old_form, today] : rows) {
    const std::string text = written(old_form);
    EXPECT_FALSE(text.empty()) << old_form;
    EXPECT_EQ(text, written(today)) << old_form << " against " << today;
  }
  fs::remove_all(folder);
}

// --size at other aspect ratios scales by the smaller ratio, the centre
// kept: 1600 x 600 is the 800 x 600 picture with 400 more columns each
// side. --steps 0 draws no walk pixel: the scene without its walk.
TEST(RenderCommand, OtherSizesKeepTheRegionAndNoStepsDrawNoWalk) {
  const fs::path folder = fs::temp_directory_path() / ("sizes-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "scene.json") << edited(small_scene, R"("steps": 1000)", R"("steps": 20000)");
  const std::string base = "cd '" + folder.string() + "' && '" RENDER_SCENE "' scene.json ";
  for (const char* options : {"--out own.png", "--size 1600x600 --out wide.png",
                              "--steps 0 --out bare.png", "--size 400x900 --out narrow.json"})
    ASSERT_EQ(std::system((base + options + " >/dev/null").c_str()), 0) << options;
  EXPECT_NE(read_text(folder / "narrow.json").find(R"("scale": 100.0)"), std::string::npos);
  RgbImage own, wide, bare;
  std::string error;
  ASSERT_TRUE(read_png_rgb((folder / "own.png").string(), own, error)) << error;
  ASSERT_TRUE(read_png_rgb((folder / "wide.png").string(), wide, error)) << error;
  ASSERT_TRUE(read_png_rgb((folder / "bare.png").string(), bare, error)) << error;
  ASSERT_EQ(wide.width, 1600);
  std::size_t differing = 0;
  for (int y = 0; y < 600; ++y)
    differing += !std::equal(&own.rgb[3 * 800 * y], &own.rgb[3 * 800 * (y + 1)],
                             &wide.rgb[3 * (1600 * y + 400)]);
  EXPECT_EQ(differing, 0u) << "rows of the 800 x 600 picture not in the middle of 1600 x 600";
  Scene scene{};
  SceneErrors errors;
  ASSERT_TRUE(read_scene_json(small_scene, scene, errors));
  scene.layer_count = 1;  // the outlines alone
  std::vector<std::uint8_t> outlines;
  for (const std::uint32_t p : drawn(scene))
    for (const int shift : {16, 8, 0}) outlines.push_back(static_cast<std::uint8_t>(p >> shift));
  EXPECT_TRUE(bare.rgb == outlines);
  EXPECT_FALSE(own.rgb == outlines);  // the walk does draw
  fs::remove_all(folder);
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
