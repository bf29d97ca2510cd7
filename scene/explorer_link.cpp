#include "explorer_link.h"

#include <cstdint>
#include <string>

#include "program_scenes.h"
#include "query_string.h"
#include "whole_number.h"

// The explorer's address also says how the page shows the scene (embed=,
// point=): nothing of the scene itself, so a copied address draws here too.
static std::string scene_fields(std::string_view query) {
  std::string kept;
  while (!query.empty()) {
    const std::size_t end = query.find('&');
    const std::string_view field = query.substr(0, end);
    const std::string_view key = field.substr(0, field.find('='));
    if (key != "embed" && key != "point") {
      if (!kept.empty()) kept += '&';
      kept += field;
    }
    query = end == std::string_view::npos ? std::string_view{} : query.substr(end + 1);
  }
  return kept;
}

bool read_explorer_link(std::string_view address, Scene& scene, SceneErrors& errors) {
  const std::string query = scene_fields(address);
  std::string program;
  bool named = false, clocked = false, framed = false;
  std::int64_t frame = 1, earlier = 1;  // frame=, and picture= of the links given out before it
  std::uint32_t clock = 0;
  SceneErrors earlier_errors;
  const std::string clocks = "from 1 to " + std::to_string(largest_clock);
  for (const auto& [key, value] : query_pairs(query)) {
    if (key == "program") {
      named = true;
      program = value;
    } else if (key == "frame") {
      framed = true;
      if (!whole_number(value, 1, 1000, frame))
        errors.push_back({"frame", "must be a whole number from 1 to 1000, not '" + value + "'"});
    } else if (key == "picture" && !whole_number(value, 1, 1000, earlier)) {
      earlier_errors.push_back({"picture", "must be a whole number from 1 to 1000, not '" + value + "'"});
    } else if (key == "clock") {
      clocked = clock_number(value, clock);
      if (!clocked) errors.push_back({"clock", "must be a whole number " + clocks + ", not '" + value + "'"});
    }
  }
  if (!named) {
    errors.clear();  // frame=, picture= and clock= mean nothing in a scene's compact form
    return read_scene_link(query, scene, errors);
  }
  // A link without frame= was written when picture=K named frame K: it
  // still opens that frame.
  if (!framed) {
    frame = earlier;
    errors.insert(errors.begin(), earlier_errors.begin(), earlier_errors.end());
  }
  if (!clocked && errors.empty()) errors.push_back({"clock", "missing (the program's frame depends on it)"});
  if (!errors.empty()) return false;
  if (!program_scene(program, frame, clock, scene, errors)) {
    errors.back().field = "program";
    return false;
  }
  return true;
}
