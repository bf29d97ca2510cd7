// The reader checks a field where it reads it and goes on, so one pass
// reports every problem; a field it cannot read leaves its default.
#include "scene_json.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>

using nlohmann::ordered_json;

namespace {

template <typename T>
struct Named {
  const char* name;
  T value;
};

constexpr Named<std::uint32_t> colour_names[] = {
    {"white", 0xFFFFFF}, {"black", 0x000000}, {"red", 0xFF0000},
    {"green", 0x00FA00}, {"blue", 0x0000FA},  {"yellow", 0xFFFF00},
};
constexpr Named<CircleNumbers> number_names[] = {{"double", CircleNumbers::double_width},
                                                 {"float", CircleNumbers::float_width}};
constexpr Named<LayerKind> layer_names[] = {{"outlines", LayerKind::outlines},
                                            {"discs", LayerKind::discs},
                                            {"generations", LayerKind::generations},
                                            {"walk", LayerKind::walk},
                                            {"limit_set", LayerKind::limit_set}};
constexpr Named<GenerationStyle> style_names[] = {{"discs", GenerationStyle::discs},
                                                  {"outlines", GenerationStyle::outlines}};
constexpr Named<PickRule> pick_names[] = {{"random", PickRule::random},
                                          {"cyclic", PickRule::cyclic}};
constexpr Named<InsideRule> inside_names[] = {{"invert", InsideRule::invert},
                                              {"refuse", InsideRule::refuse}};
constexpr Named<PointStorage> point_names[] = {{"double", PointStorage::double_width},
                                               {"float", PointStorage::float_width}};
constexpr Named<WalkPlot> plot_names[] = {{"pixel", WalkPlot::pixel},
                                          {"ring1", WalkPlot::ring1},
                                          {"ring2", WalkPlot::ring2}};
constexpr Named<LimitPlot> limit_plot_names[] = {{"pixel", LimitPlot::pixel},
                                                 {"disc1", LimitPlot::disc1},
                                                 {"disc2", LimitPlot::disc2}};

template <typename T, std::size_t N>
const char* name_of(const Named<T> (&table)[N], T value) {
  for (const Named<T>& entry : table)
    if (entry.value == value) return entry.name;
  return table[0].name;
}

template <typename T, std::size_t N>
std::string names_of(const Named<T> (&table)[N]) {
  std::string names;
  for (std::size_t i = 0; i < N; ++i)
    names += (i == 0 ? "" : i + 1 == N ? " or " : ", ") + std::string(table[i].name);
  return names;
}

std::string colour_text(std::uint32_t colour) {
  if (colour == no_colour) return "none";
  for (const Named<std::uint32_t>& entry : colour_names)
    if (entry.value == colour) return entry.name;
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", colour & 0xFFFFFF);
  return text;
}

// A value as it stands in the text, for a message; a link's bytes need
// not be UTF-8, and a plain dump() would throw on them.
std::string shown(const ordered_json& v) {
  return v.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

std::string join(const std::string& path, const std::string& key) {
  return path.empty() ? key : path + "." + key;
}
std::string item(const std::string& path, std::size_t i) {
  return path + "[" + std::to_string(i) + "]";
}

// Unstated, the view fits the circles: their bounding box's centre at the
// picture's centre, the box filling nine tenths of the picture's width or
// height, whichever it fills first.
Viewport fitting_view(const Scene& s) {
  if (s.circle_count == 0) return {0, 0, 1};
  double left = s.circles[0].x, right = left, bottom = s.circles[0].y, top = bottom;
  for (int k = 0; k < s.circle_count; ++k) {
    const Circle& c = s.circles[k];
    left = std::min(left, c.x - c.r), right = std::max(right, c.x + c.r);
    bottom = std::min(bottom, c.y - c.r), top = std::max(top, c.y + c.r);
  }
  return {(left + right) / 2, (bottom + top) / 2,
          0.9 * std::min(s.width / (right - left), s.height / (top - bottom))};
}

struct Reader {
  SceneErrors& errors;

  void fail(const std::string& field, const std::string& message) {
    errors.push_back({field, message});
  }

  // Reports the keys that are not in `keys`, and those of the first
  // `required` keys (all of them unless said) missing.
  bool fields(const ordered_json& j, const std::string& path,
              std::initializer_list<const char*> keys, std::size_t required = 99) {
    if (!j.is_object()) {
      fail(path, "must be an object");
      return false;
    }
    for (const auto& entry : j.items()) {
      bool known = false;
      for (const char* key : keys) known = known || entry.key() == key;
      if (!known) fail(join(path, entry.key()), "unknown field");
    }
    for (const char* key : keys)
      if (required > 0 && required-- && !j.contains(key)) fail(join(path, key), "missing");
    return true;
  }

  bool number(const ordered_json& j, const char* key, const std::string& path, double& out) {
    if (!j.contains(key)) return false;  // reported as missing
    const ordered_json& v = j.at(key);
    const std::string field = join(path, key);
    if (!v.is_number()) {
      fail(field, "must be a number");
      return false;
    }
    const double value = v.get<double>();
    if (!std::isfinite(value)) {
      fail(field, "must be a finite number");
      return false;
    }
    out = value;
    return true;
  }

  void positive(const ordered_json& j, const char* key, const std::string& path, double& out) {
    if (number(j, key, path, out) && !(out > 0)) fail(join(path, key), "must be a positive number");
  }

  template <typename T>
  bool whole(const ordered_json& v, const std::string& field, std::int64_t low, std::int64_t high,
             T& out) {
    const bool fits = v.is_number_unsigned()
                          ? v.get<std::uint64_t>() <= static_cast<std::uint64_t>(high)
                          : v.is_number_integer() && v.get<std::int64_t>() <= high;
    if (!fits || v.get<std::int64_t>() < low) {
      fail(field,
           "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
      return false;
    }
    out = static_cast<T>(v.get<std::int64_t>());
    return true;
  }

  template <typename T>
  void whole(const ordered_json& j, const char* key, const std::string& path, std::int64_t low,
             std::int64_t high, T& out) {
    if (j.contains(key)) whole(j.at(key), join(path, key), low, high, out);
  }

  template <typename T, std::size_t N>
  void named(const ordered_json& j, const char* key, const std::string& path,
             const Named<T> (&table)[N], const char* what, T& out) {
    if (!j.contains(key)) return;
    const ordered_json& v = j.at(key);
    if (v.is_string())
      for (const Named<T>& entry : table)
        if (v.get<std::string>() == entry.name) {
          out = entry.value;
          return;
        }
    fail(join(path, key),
         "unknown " + std::string(what) + " " + shown(v) + " (" + names_of(table) + ")");
  }

  // A name, #rrggbb or rrggbb; "none" where allowed.
  void colour_value(const ordered_json& v, const std::string& field, bool none_allowed,
                    std::uint32_t& out) {
    if (v.is_string()) {
      std::string text = v.get<std::string>();
      if (none_allowed && text == "none") {
        out = no_colour;
        return;
      }
      for (const Named<std::uint32_t>& entry : colour_names)
        if (text == entry.name) {
          out = entry.value;
          return;
        }
      if (!text.empty() && text[0] == '#') text.erase(0, 1);
      if (text.size() == 6 &&
          text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
        out = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
        return;
      }
    }
    fail(field, "unknown colour " + shown(v) + " (" + names_of(colour_names) +
                    (none_allowed ? ", none" : "") + ", or #rrggbb)");
  }

  void colour(const ordered_json& j, const char* key, const std::string& path, std::uint32_t& out) {
    if (j.contains(key)) colour_value(j.at(key), join(path, key), false, out);
  }

  void choice(const ordered_json& j, const std::string& path, int circle_count, CircleChoice& out) {
    if (!j.contains("circles")) return;
    const ordered_json& v = j.at("circles");
    const std::string field = join(path, "circles");
    if (v == "all") {
      out.all = true;
      return;
    }
    if (!v.is_array() || v.empty() || v.size() > static_cast<std::size_t>(max_scene_circles)) {
      fail(field, "must be \"all\" or a list of 1 to " + std::to_string(max_scene_circles) +
                      " circle indices");
      return;
    }
    out.all = false;
    out.count = static_cast<int>(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
      int index = 0;
      if (!whole(v[i], item(field, i), 0, circle_count - 1, index)) continue;
      for (std::size_t k = 0; k < i; ++k)
        if (out.index[k] == index)
          fail(item(field, i), "circle " + std::to_string(index) + " is chosen twice");
      out.index[i] = index;
    }
  }

  void generations(const ordered_json& j, const std::string& path, const Scene& scene,
                   Layer& layer) {
    if (!fields(j, path, {"draw", "colours", "circles", "style"}, 2)) return;
    named(j, "style", path, style_names, "style", layer.style);
    if (!j.contains("colours")) return;
    const ordered_json& colours = j.at("colours");
    const std::string field = join(path, "colours");
    if (!colours.is_array() || colours.empty() ||
        colours.size() > static_cast<std::size_t>(max_generation_depth)) {
      fail(field, "must be a list of 1 to " + std::to_string(max_generation_depth) +
                      " colours, one a generation");
      return;
    }
    layer.depth = static_cast<int>(colours.size());
    for (std::size_t g = 0; g < colours.size(); ++g)
      colour_value(colours[g], item(field, g), true, layer.colours[g]);
    std::int64_t n = layer.circles.all ? scene.circle_count : layer.circles.count;
    for (int g = 0; g < layer.depth && n <= max_generation_images; ++g) n = n * (n - 1);
    if (n > max_generation_images)
      fail(field, std::to_string(layer.depth) + " generations of these circles make more than " +
                      std::to_string(max_generation_images) + " images");
  }

  void walk(const ordered_json& j, const std::string& path, const Scene& scene, Layer& layer) {
    if (!fields(j, path,
                {"draw", "steps", "seed", "circles", "pick", "inside", "point", "burn_in", "start",
                 "previous", "skip", "colour", "plot"},
                3))
      return;
    SceneWalk& w = layer.walk;
    // Unstated, a walk starts inside the picture, a tenth of its height
    // above and right of the centre (the centre is often a circle's).
    w.start_x = scene.view.x + scene.height / (10 * scene.view.scale);
    w.start_y = scene.view.y + scene.height / (10 * scene.view.scale);
    named(j, "pick", path, pick_names, "pick rule", w.pick);
    named(j, "inside", path, inside_names, "inside rule", w.inside);
    named(j, "point", path, point_names, "point storage", w.point);
    whole(j, "steps", path, 0, max_walk_steps, w.steps);
    whole(j, "burn_in", path, 0, max_walk_steps, w.burn_in);
    whole(j, "seed", path, 0, 4294967295, w.seed);
    whole(j, "skip", path, 0, max_walk_skip, w.skip);
    colour(j, "colour", path, layer.colour);
    named(j, "plot", path, plot_names, "plot", w.plot);
    const std::string start = join(path, "start");
    if (j.contains("start") && fields(j.at("start"), start, {"x", "y"})) {
      number(j.at("start"), "x", start, w.start_x);
      number(j.at("start"), "y", start, w.start_y);
    }
    w.previous = no_previous;
    if (j.contains("previous") && j.at("previous") != "none") {
      const int count = layer.circles.all ? max_scene_circles : layer.circles.count;
      whole(j.at("previous"), join(path, "previous"), 0, count - 1, w.previous);
    }
  }

  // One colour, or colours by the word's first circle: "by_first_circle"
  // (the palette) or a list, one for each chosen circle.
  void limit_set(const ordered_json& j, const std::string& path, const Scene& scene,
                 Layer& layer) {
    SceneLimitSet& l = layer.limit;
    std::copy(limit_set_palette, limit_set_palette + max_scene_circles, l.colours);
    l.depth = default_limit_depth;
    if (!fields(j, path, {"draw", "circles", "colour", "colours", "plot", "depth"}, 1)) return;
    named(j, "plot", path, limit_plot_names, "plot", l.plot);
    whole(j, "depth", path, 1, max_limit_depth, l.depth);
    colour(j, "colour", path, layer.colour);
    if (!j.contains("colours")) return;
    const ordered_json& colours = j.at("colours");
    const std::string field = join(path, "colours");
    if (j.contains("colour")) fail(field, "give colour or colours, not both");
    l.by_first_circle = true;
    if (colours == "by_first_circle") return;
    const std::size_t n = layer.circles.all ? scene.circle_count : layer.circles.count;
    if (!colours.is_array() || colours.size() != n) {
      fail(field, "must be \"by_first_circle\" or a list of colours, one for each of the " +
                      std::to_string(n) + " circles chosen");
      return;
    }
    for (std::size_t i = 0; i < n; ++i) colour_value(colours[i], item(field, i), false, l.colours[i]);
  }

  void layer(const ordered_json& j, const std::string& path, const Scene& scene, Layer& out) {
    if (!j.is_object() || !j.contains("draw")) {
      fail(j.is_object() ? join(path, "draw") : path,
           j.is_object() ? "missing" : "must be an object");
      return;
    }
    named(j, "draw", path, layer_names, "layer", out.kind);
    out.circles.all = true;  // unless a list is given
    if (!j.at("draw").is_string() || j.at("draw") != name_of(layer_names, out.kind)) return;
    choice(j, path, scene.circle_count, out.circles);
    switch (out.kind) {
      case LayerKind::outlines:
      case LayerKind::discs:
        if (fields(j, path, {"draw", "circles", "colour"}, 1)) colour(j, "colour", path, out.colour);
        break;
      case LayerKind::generations:
        generations(j, path, scene, out);
        break;
      case LayerKind::walk:
        walk(j, path, scene, out);
        break;
      case LayerKind::limit_set:
        limit_set(j, path, scene, out);
        break;
    }
  }

  void scene(const ordered_json& j, Scene& s) {
    if (!fields(j, "",
                {"circles", "layers", "version", "width", "height", "background", "view", "numbers"},
                2))
      return;
    if (j.contains("version") && j.at("version") != 1) fail("version", "must be 1");
    s.width = 800, s.height = 600, s.background = 0xFFFFFF;
    whole(j, "width", "", 1, max_scene_side, s.width);
    whole(j, "height", "", 1, max_scene_side, s.height);
    colour(j, "background", std::string(), s.background);  // "" would also fit the other colour()
    named(j, "numbers", "", number_names, "number width", s.numbers);
    if (j.contains("circles")) {
      const ordered_json& circles = j.at("circles");
      if (!circles.is_array()) {
        fail("circles", "must be a list");
      } else if (circles.size() > static_cast<std::size_t>(max_scene_circles)) {
        fail("circles", std::to_string(circles.size()) + " circles, more than a walk takes (" +
                            std::to_string(max_scene_circles) + ")");
      } else {
        s.circle_count = static_cast<int>(circles.size());
        for (std::size_t k = 0; k < circles.size(); ++k) {
          const std::string path = item("circles", k);
          if (!fields(circles[k], path, {"x", "y", "r"})) continue;
          number(circles[k], "x", path, s.circles[k].x);
          number(circles[k], "y", path, s.circles[k].y);
          positive(circles[k], "r", path, s.circles[k].r);
        }
      }
    }
    if (!j.contains("view")) {
      s.view = fitting_view(s);
      if (!std::isnormal(s.view.scale))
        fail("view", "missing, and none fits these circles (state x, y and scale)");
    } else if (fields(j.at("view"), "view", {"x", "y", "scale"})) {
      number(j.at("view"), "x", "view", s.view.x);
      number(j.at("view"), "y", "view", s.view.y);
      // A subnormal scale puts the whole plane on a pixel and loses the
      // view's digits when the scene is resized.
      positive(j.at("view"), "scale", "view", s.view.scale);
      if (s.view.scale > 0 && !std::isnormal(s.view.scale))
        fail("view.scale", "must be at least 2.2250738585072014e-308");
    }
    if (j.contains("layers")) {
      const ordered_json& layers = j.at("layers");
      if (!layers.is_array() || layers.size() > static_cast<std::size_t>(max_scene_layers)) {
        fail("layers", "must be a list of at most " + std::to_string(max_scene_layers) + " layers");
        return;
      }
      s.layer_count = static_cast<int>(layers.size());
      for (std::size_t k = 0; k < layers.size(); ++k)
        layer(layers[k], item("layers", k), s, s.layers[k]);
    }
  }
};

// The text's shape, checked before it is parsed into a value: the first
// syntax error with its line and column, nesting deeper than
// max_scene_nesting (the parser is iterative, but copying and comparing a
// value recurse), and a key given twice in one object (the parser would
// keep the last). Bounded by the depth, so it needs no recursion either.
struct TextShape : nlohmann::json_sax<ordered_json> {
  struct Level {
    bool array;
    std::size_t count;             // values met so far in an array
    std::string key;               // the current key of an object
    std::vector<std::string> keys;  // every key of an object so far
  };
  std::vector<Level> levels;
  SceneError problem;
  bool found = false;

  std::string path() const {
    std::string text;
    for (const Level& level : levels)
      text = level.array ? item(text, level.count - 1) : join(text, level.key);
    return text;
  }
  bool value() {
    if (!levels.empty() && levels.back().array) ++levels.back().count;
    return true;
  }
  bool open(bool array) {
    value();
    if (levels.size() == max_scene_nesting) {
      levels.resize(1);  // the field that holds the nesting, not the whole path
      problem = {path(), "nested more than " + std::to_string(max_scene_nesting) + " deep"};
      found = true;
      return false;
    }
    levels.push_back({array, 0, {}, {}});
    return true;
  }
  bool null() override { return value(); }
  bool boolean(bool) override { return value(); }
  bool number_integer(number_integer_t) override { return value(); }
  bool number_unsigned(number_unsigned_t) override { return value(); }
  bool number_float(number_float_t, const string_t&) override { return value(); }
  bool string(string_t&) override { return value(); }
  bool binary(binary_t&) override { return value(); }
  bool start_object(std::size_t) override { return open(false); }
  bool key(string_t& key) override {
    Level& level = levels.back();
    level.key = key;
    for (const std::string& seen : level.keys)
      if (seen == key) {
        problem = {path(), "given twice"};
        found = true;
        return false;
      }
    level.keys.push_back(key);
    return true;
  }
  bool end_object() override {
    levels.pop_back();
    return true;
  }
  bool start_array(std::size_t) override { return open(true); }
  bool end_array() override {
    levels.pop_back();
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    std::string message = e.what();
    const std::size_t bracket = message.find("] ");
    if (message[0] == '[' && bracket != std::string::npos) message.erase(0, bracket + 2);
    problem = {"", "not JSON: " + message};
    found = true;
    return false;
  }
};

ordered_json choice_json(const CircleChoice& choice) {
  if (choice.all) return "all";
  ordered_json list = ordered_json::array();
  for (int i = 0; i < choice.count; ++i) list.push_back(choice.index[i]);
  return list;
}

}  // namespace

void to_json(ordered_json& j, const Scene& s) {
  j = ordered_json::object();
  j["width"] = s.width;
  j["height"] = s.height;
  j["background"] = colour_text(s.background);
  j["view"] = {{"x", s.view.x}, {"y", s.view.y}, {"scale", s.view.scale}};
  j["numbers"] = name_of(number_names, s.numbers);
  ordered_json circles = ordered_json::array();
  for (int k = 0; k < s.circle_count; ++k)
    circles.push_back({{"x", s.circles[k].x}, {"y", s.circles[k].y}, {"r", s.circles[k].r}});
  j["circles"] = circles;
  ordered_json layers = ordered_json::array();
  for (int k = 0; k < s.layer_count; ++k) {
    const Layer& layer = s.layers[k];
    ordered_json l{{"draw", name_of(layer_names, layer.kind)},
                   {"circles", choice_json(layer.circles)}};
    if (layer.kind == LayerKind::generations) {
      l["style"] = name_of(style_names, layer.style);
      ordered_json colours = ordered_json::array();
      for (int g = 0; g < layer.depth; ++g) colours.push_back(colour_text(layer.colours[g]));
      l["colours"] = colours;
    } else if (layer.kind == LayerKind::walk) {
      const SceneWalk& w = layer.walk;
      l["pick"] = name_of(pick_names, w.pick);
      l["inside"] = name_of(inside_names, w.inside);
      l["point"] = name_of(point_names, w.point);
      l["steps"] = w.steps;
      l["burn_in"] = w.burn_in;
      l["start"] = {{"x", w.start_x}, {"y", w.start_y}};
      l["previous"] = w.previous == no_previous ? ordered_json("none") : ordered_json(w.previous);
      l["seed"] = w.seed;
      l["skip"] = w.skip;
      l["colour"] = colour_text(layer.colour);
      l["plot"] = name_of(plot_names, w.plot);
    } else if (layer.kind == LayerKind::limit_set) {
      int index[max_scene_circles];
      const int n = chosen_circles(s, layer.circles, index);
      if (layer.limit.by_first_circle) {
        ordered_json colours = ordered_json::array();
        for (int i = 0; i < n; ++i) colours.push_back(colour_text(layer.limit.colours[i]));
        l["colours"] = colours;
      } else {
        l["colour"] = colour_text(layer.colour);
      }
      l["plot"] = name_of(limit_plot_names, layer.limit.plot);
      l["depth"] = layer.limit.depth;
    } else {
      l["colour"] = colour_text(layer.colour);
    }
    layers.push_back(l);
  }
  j["layers"] = layers;
}

bool from_json(const ordered_json& j, Scene& scene, SceneErrors& errors) {
  const std::size_t before = errors.size();
  Scene read{};
  Reader{errors}.scene(j, read);
  if (errors.size() != before) return false;
  // A choice of all circles takes a previous index only among them.
  for (int k = 0; k < read.layer_count; ++k) {
    const Layer& layer = read.layers[k];
    if (layer.kind == LayerKind::walk && layer.circles.all &&
        layer.walk.previous >= read.circle_count)
      errors.push_back(
          {item("layers", k) + ".previous",
           "must be a whole number from 0 to " + std::to_string(read.circle_count - 1)});
  }
  // The limit set is drawn word by word only where the discs nest.
  for (int k = 0; k < read.layer_count; ++k) {
    const Layer& layer = read.layers[k];
    if (layer.kind != LayerKind::limit_set) continue;
    int index[max_scene_circles];
    Circle circles[max_scene_circles];
    const int n = chosen_circles(read, layer.circles, index);
    for (int i = 0; i < n; ++i) circles[i] = scene_circle(read, index[i]);
    NestedDiscs discs;
    const NestCheck check = nested_discs(circles, n, discs);
    if (check.fault == NestFault::count)
      errors.push_back({item("layers", k), "a limit set takes 2 to " +
                                               std::to_string(max_nested_circles) + " circles"});
    else if (check.fault == NestFault::radius)
      errors.push_back({item("layers", k), "circle " + std::to_string(index[check.first]) +
                                               " has no radius a limit set can use"});
    else if (check.fault == NestFault::overlap)
      errors.push_back(
          {item("layers", k),
           "circles " + std::to_string(index[check.first]) +
               (check.second >= 0 ? " and " + std::to_string(index[check.second]) : "") +
               " overlap, so their limit set is drawn by a walk, not word by word"});
  }
  if (errors.size() != before) return false;
  scene = read;
  return true;
}

bool read_scene_json(std::string_view text, Scene& scene, SceneErrors& errors) {
  TextShape shape;
  ordered_json::sax_parse(text, &shape);
  if (shape.found) {
    errors.push_back(shape.problem);
    return false;
  }
  return from_json(ordered_json::parse(text), scene, errors);
}

void to_written_json(ordered_json& text, const Scene& scene) {
  ordered_json j;
  to_json(j, scene);
  // A field at its natural default is left out; the view and a walk's
  // start, whose defaults follow the circles and the size, stay.
  const auto leave_out = [](ordered_json& object, const char* key, const ordered_json& value) {
    if (object.contains(key) && object[key] == value) object.erase(key);
  };
  text = {{"version", 1}};
  for (const auto& [key, value] : j.items()) text[key] = value;
  leave_out(text, "width", 800);
  leave_out(text, "height", 600);
  leave_out(text, "background", "white");
  leave_out(text, "numbers", "double");
  for (ordered_json& layer : text["layers"]) {
    leave_out(layer, "circles", "all");
    leave_out(layer, "colour", "black");
    if (layer["draw"] == "generations") leave_out(layer, "style", "discs");
    if (layer["draw"] == "limit_set") {
      leave_out(layer, "plot", "pixel");
      leave_out(layer, "depth", default_limit_depth);
    }
    if (layer["draw"] != "walk") continue;
    for (const auto& [key, value] : {std::pair{"pick", "random"}, {"inside", "invert"},
                                     {"point", "double"}, {"previous", "none"}, {"plot", "pixel"}})
      leave_out(layer, key, value);
    leave_out(layer, "burn_in", 0);
    leave_out(layer, "skip", 0);
  }
}

std::string scene_json_text(const Scene& scene) {
  ordered_json text;
  to_written_json(text, scene);
  return text.dump(2) + "\n";
}

std::string error_line(const SceneErrors& errors) {
  std::string line;
  for (const SceneError& e : errors) {
    if (!line.empty()) line += "; ";
    line += e.field.empty() ? e.message : e.field + ": " + e.message;
  }
  return line;
}
