#include "explorer_link.h"

#include <cstdint>
#include <string>

#include "program_scenes.h"
#include "query_string.h"
#include "whole_number.h"

bool read_explorer_link(std::string_view query, Scene& scene, SceneErrors& errors) {
  std::string program;
  bool named = false, clocked = false;
  std::int64_t picture = 1;
  std::uint32_t clock = 0;
  const std::string clocks = "from 1 to " + std::to_string(largest_clock);
  for (const auto& [key, value] : query_pairs(query)) {
    if (key == "program") {
      named = true;
      program = value;
    } else if (key == "picture" && !whole_number(value, 1, 1000, picture)) {
      errors.push_back({"picture", "must be a whole number from 1 to 1000, not '" + value + "'"});
    } else if (key == "clock") {
      clocked = clock_number(value, clock);
      if (!clocked) errors.push_back({"clock", "must be a whole number " + clocks + ", not '" + value + "'"});
    }
  }
  if (!named) {
    errors.clear();  // picture= and clock= mean nothing in a scene's compact form
    return read_scene_link(query, scene, errors);
  }
  if (!clocked && errors.empty()) errors.push_back({"clock", "missing (the program's picture depends on it)"});
  if (!errors.empty()) return false;
  if (!program_scene(program, picture, clock, scene, errors)) {
    errors.back().field = "program";
    return false;
  }
  return true;
}
