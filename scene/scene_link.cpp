// The compact form is the JSON form laid flat: scene_link writes the JSON
// value to_written_json makes, read_scene_link rebuilds that value and hands it to
// from_json, so both forms are checked by the same code.
#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdlib>

#include "query_string.h"
#include "scene_json.h"

using nlohmann::ordered_json;

namespace {

constexpr const char* walk_keys[] = {"circles", "pick",   "inside", "point",    "steps",
                                     "burn_in", "start",  "start",  "previous", "seed",
                                     "skip",    "colour", "plot"};
constexpr int walk_values = 13;

// A number in its shortest exact form, without the '+' a query string
// would read as a space.
std::string value_text(const ordered_json& v) {
  if (v.is_string()) {
    std::string text = v.get<std::string>();
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    return text;
  }
  std::string text = v.dump();
  if (const std::size_t plus = text.find('+'); plus != std::string::npos) text.erase(plus, 1);
  return text;
}

std::string joined(const ordered_json& list, char separator) {
  if (list.is_string()) return value_text(list);
  std::string text;
  for (const ordered_json& v : list)
    text += (text.empty() ? "" : std::string(1, separator)) + value_text(v);
  return text;
}

// A token as a JSON number where it reads as one (a number beyond the
// doubles' range as infinity, which the checks then refuse), else as a
// string.
ordered_json token_value(const std::string& token) {
  if (!token.empty() &&
      (std::isdigit(static_cast<unsigned char>(token[0])) || token[0] == '-' || token[0] == '.')) {
    const ordered_json number = ordered_json::parse(token, nullptr, false);
    if (number.is_number()) return number;
    char* end = nullptr;
    const double value = std::strtod(token.c_str(), &end);
    if (end == token.c_str() + token.size()) return value;
  }
  return token;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(separator, from);
    parts.push_back(text.substr(from, at - from));
    if (at == std::string::npos) return parts;
    from = at + 1;
  }
}

ordered_json choice_value(const std::string& text) {
  if (text == "all") return text;
  ordered_json list = ordered_json::array();
  for (const std::string& index : split(text, ':')) list.push_back(token_value(index));
  return list;
}

// A layer= value that names its values (walk=steps:500000,seed:17): the
// first value starts with a name and a ':'. Positional values start with
// "all" or a circle's index.
// An empty value (outlines=) names none: every value takes its default.
bool named_values(const std::vector<std::string>& v) {
  return !v.empty() && (v == std::vector<std::string>{""} ||
                        (!v[0].empty() && std::isalpha(static_cast<unsigned char>(v[0][0])) &&
                         v[0].find(':') != std::string::npos));
}

// Named values as the JSON layer they stand for, those left out taking the
// reader's defaults; a walk's start is x: and y:.
bool named_layer(const std::string& kind, const std::vector<std::string>& v, ordered_json& layer,
                 std::string& problem) {
  layer = {{"draw", kind}};
  if (v == std::vector<std::string>{""}) return true;
  for (const std::string& entry : v) {
    const std::size_t colon = entry.find(':');
    const std::string name = entry.substr(0, colon);
    const std::string value = colon == std::string::npos ? "" : entry.substr(colon + 1);
    const std::string key = name == "x" || name == "y" ? "start" : name;
    if (colon == std::string::npos || (key == "start" ? layer.contains("start") &&
                                                            layer["start"].contains(name)
                                                      : layer.contains(key))) {
      problem = colon == std::string::npos ? "'" + entry + "' wants NAME:VALUE, as the others"
                                           : name + " given twice";
      return false;
    }
    if (key == "start")
      layer["start"][name] = token_value(value);
    else if (name == "circles")
      layer[key] = choice_value(value);
    else if (name == "colours" && value == "by_first_circle")
      layer[key] = value;
    else if (name == "colours")
      for (const std::string& colour : split(value, ':')) layer[key].push_back(colour);
    else if (name == "steps" || name == "burn_in" || name == "previous" || name == "seed" ||
             name == "skip" || name == "depth")
      layer[key] = value == "none" ? ordered_json(value) : token_value(value);
    else
      layer[key] = value;
  }
  return true;
}

// One layer= value as the JSON layer it stands for; false (with a reason)
// when it has the wrong number of values.
bool layer_value(const std::string& kind, const std::vector<std::string>& v, ordered_json& layer,
                 std::string& problem) {
  if (named_values(v)) return named_layer(kind, v, layer, problem);
  if (kind == "limit_set" && v.size() == 1 && v[0].empty()) {  // limit_set= : every default
    layer = {{"draw", kind}};
    return true;
  }
  const std::size_t wanted = kind == "walk" ? walk_values : kind == "generations" ? 3 : 2;
  if (v.size() != wanted) {
    problem =
        kind + " wants " + std::to_string(wanted) + " values, not " + std::to_string(v.size());
    return false;
  }
  layer = {{"draw", kind}, {"circles", choice_value(v[0])}};
  if (kind == "generations") {
    layer["style"] = v[1];
    ordered_json colours = ordered_json::array();
    for (const std::string& colour : split(v[2], ':')) colours.push_back(colour);
    layer["colours"] = colours;
  } else if (kind == "walk") {
    for (int i = 1; i < walk_values; ++i) {
      if (i == 6) continue;
      // Names stay text: a colour of digits alone (123456) is not a number.
      const bool name = i <= 3 || i >= 11;
      layer[walk_keys[i]] = i == 7 ? ordered_json{{"x", token_value(v[6])}, {"y", token_value(v[7])}}
                            : name ? ordered_json(v[i])
                                   : token_value(v[i]);
    }
  } else {
    layer["colour"] = v[1];
  }
  return true;
}

}  // namespace

// The written JSON laid flat: size, background and numbers only where they
// differ from their defaults, the view, the circles, and each layer's values
// named in the JSON's order, those at their defaults left out.
std::string scene_link(const Scene& scene) {
  ordered_json j;
  to_written_json(j, scene);
  std::string link;
  const auto add = [&link](const std::string& pair) { link += (link.empty() ? "" : "&") + pair; };
  if (j.contains("width") || j.contains("height"))
    add("size=" + std::to_string(scene.width) + "x" + std::to_string(scene.height));
  if (j.contains("background")) add("background=" + value_text(j["background"]));
  add("view=" + value_text(j["view"]["x"]) + "," + value_text(j["view"]["y"]) + "," +
      value_text(j["view"]["scale"]));
  if (j.contains("numbers")) add("numbers=" + value_text(j["numbers"]));
  for (const ordered_json& c : j["circles"])
    add("circle=" + value_text(c["x"]) + "," + value_text(c["y"]) + "," + value_text(c["r"]));
  for (const ordered_json& layer : j["layers"]) {
    std::string values;
    const auto named = [&values](const std::string& name, const std::string& value) {
      values += (values.empty() ? "" : ",") + name + ":" + value;
    };
    for (const auto& [key, value] : layer.items()) {
      if (key == "draw") continue;
      if (key == "start") {
        named("x", value_text(value["x"]));
        named("y", value_text(value["y"]));
      } else {
        named(key, value.is_array() ? joined(value, ':') : value_text(value));
      }
    }
    add(layer["draw"].get<std::string>() + "=" + values);
  }
  return link;
}

bool read_scene_link(std::string_view query, Scene& scene, SceneErrors& errors) {
  const std::size_t before = errors.size();
  ordered_json j = ordered_json::object();
  ordered_json circles = ordered_json::array();
  ordered_json layers = ordered_json::array();
  for (const auto& [key, value] : query_pairs(query)) {
    const std::vector<std::string> values = split(value, ',');
    const bool single = key == "size" || key == "background" || key == "view" || key == "numbers";
    if (single && j.contains(key == "size" ? "width" : key)) {
      errors.push_back({key, "given twice"});
      continue;
    }
    if (key == "size") {
      const std::vector<std::string> sides = split(value, 'x');
      if (sides.size() != 2) {
        errors.push_back({"size", "must be WIDTHxHEIGHT, not '" + value + "'"});
        continue;
      }
      j["width"] = token_value(sides[0]);
      j["height"] = token_value(sides[1]);
    } else if (key == "background" || key == "numbers") {
      j[key] = value;
    } else if (key == "view" || key == "circle") {
      if (values.size() != 3) {
        errors.push_back({key, "wants 3 values, not " + std::to_string(values.size())});
        continue;
      }
      const char* names[3] = {"x", "y", key == "view" ? "scale" : "r"};
      ordered_json object = ordered_json::object();
      for (int i = 0; i < 3; ++i) object[names[i]] = token_value(values[i]);
      if (key == "view")
        j["view"] = object;
      else
        circles.push_back(object);
    } else if (key == "outlines" || key == "discs" || key == "generations" || key == "walk" ||
               key == "limit_set") {
      ordered_json layer;
      std::string problem;
      if (layer_value(key, values, layer, problem))
        layers.push_back(layer);
      else
        errors.push_back({"layers[" + std::to_string(layers.size()) + "]", problem});
    } else {
      errors.push_back({key, "unknown field"});
    }
  }
  if (errors.size() != before) return false;
  j["circles"] = circles;
  j["layers"] = layers;
  return from_json(j, scene, errors);
}
