// A scene as JSON and as the compact form a link carries: read, checked
// and written by one set of routines (the compact form is turned into the
// same JSON value and read by the same from_json).
//
// JSON read by hand may leave out what has a natural default (README,
// "Scenes"); written, every field is stated.
//
// A text nested deeper than max_scene_nesting, or with a key given twice
// in one object, is refused before it is parsed into a value; values that
// are not UTF-8 (a link's bytes) are shown with U+FFFD in messages.
//
// Reading collects every problem as a (field, message) pair, the field a
// path such as circles[2].r, in the order found; a scene with any problem
// is not returned. Writing then reading gives the same scene bit for bit:
// numbers are written in their shortest form that reads back exactly.
//
// The compact form is one query string, readable and URL-safe:
//   size=800x600&background=white&view=0,0,200&numbers=float
//   &circle=0,0,0.26794919&circle=...
//   &outlines=all,black&discs=0:1,blue&generations=all,discs,black:red:green
//   &walk=all,random,invert,double,500000,1001,10,3,0,1700000000,0,red,ring1
// one circle= a circle (x,y,r), one layer= a layer, in order; a walk's
// values are: circles, pick, inside, point, steps, burn_in, start x, start
// y, previous, seed, skip, colour, plot. A limit set names its values:
//   &limit_set=circles:all,colours:ff0000:0000fa:00fa00,plot:disc1,depth:512
// (or colour:red; `limit_set=` alone takes every default). A choice of circles is "all" or
// indices joined by ':'; colours are names or rrggbb; numbers never carry a
// '+'. Errors name the fields of the JSON form (layers[2].steps).
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "scene.h"

// A scene's text is bounded: a scene of 16 circles and 16 layers is a few
// kilobytes and four levels deep.
constexpr std::size_t max_scene_nesting = 64;
constexpr std::size_t max_scene_file_bytes = 4000000;  // "4 MB" in messages

struct SceneError {
  std::string field;  // empty for the text as a whole
  std::string message;
};
using SceneErrors = std::vector<SceneError>;

void to_json(nlohmann::ordered_json& j, const Scene& scene);
// Every problem goes to `errors`; `scene` is set only when there is none.
bool from_json(const nlohmann::ordered_json& j, Scene& scene, SceneErrors& errors);

bool read_scene_json(std::string_view text, Scene& scene, SceneErrors& errors);
bool read_scene_link(std::string_view query, Scene& scene, SceneErrors& errors);
std::string scene_json_text(const Scene& scene);  // indented, ends with a newline
std::string scene_link(const Scene& scene);

// "field: message; field: message ..." on one line, the first problem first.
std::string error_line(const SceneErrors& errors);
