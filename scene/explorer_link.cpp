#include "explorer_link.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "program_scenes.h"
#include "whole_number.h"

bool read_explorer_link(std::string_view query, Scene& scene, SceneErrors& errors) {
  std::string program;
  bool named = false, clocked = false;
  std::int64_t picture = 1, clock = 0;
  for (std::string_view rest = query; !rest.empty();) {
    const std::string_view pair = rest.substr(0, rest.find('&'));
    rest.remove_prefix(std::min(pair.size() + 1, rest.size()));
    const std::size_t equals = pair.find('=');
    const std::string_view key = pair.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? "" : pair.substr(equals + 1);
    if (key == "program") {
      named = true;
      program = value;
    } else if (key == "picture" && !whole_number(value, 1, 1000, picture)) {
      errors.push_back({"picture", "must be a whole number from 1 to 1000, not '" + std::string(value) + "'"});
    } else if (key == "clock") {
      clocked = whole_number(value, 1, 4294967295, clock);
      if (!clocked) errors.push_back({"clock", "must be a whole number from 1 to 4294967295, not '" + std::string(value) + "'"});
    }
  }
  if (!named) {
    errors.clear();  // picture= and clock= mean nothing in a scene's compact form
    return read_scene_link(query, scene, errors);
  }
  if (!clocked && errors.empty()) errors.push_back({"clock", "missing (the program's picture depends on it)"});
  if (!errors.empty()) return false;
  if (!program_scene(program, picture, static_cast<std::uint32_t>(clock), scene, errors)) {
    errors.back().field = "program";
    return false;
  }
  return true;
}
