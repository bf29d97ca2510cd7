// A scene as JSON and as the compact form a link carries: read, checked
// and written by one set of routines (the compact form is turned into the
// same JSON value and read by the same from_json).
//
// JSON read by hand, and a link, may leave out what has a natural default
// (README, "Scenes"); written, a field at its default is left out but the
// view and a walk's start.
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
//   size=640x480&background=102030&view=0,0,200&numbers=float
//   &circle=0,0,0.26794919&circle=...
//   &outlines=&discs=circles:0:1,colour:blue&generations=colours:black:red:green
//   &walk=steps:500000,burn_in:1001,x:10,y:3,previous:0,seed:1700000000,colour:red
// one circle= a circle (x,y,r), one layer= a layer, in order, its values
// named as in the JSON form (a walk's start is x: and y:) in any order, and
// those at their defaults left out (an empty value takes every default).
// size, background, view and numbers, left out, take their defaults too.
// A limit set's values are named only: limit_set=colours:by_first_circle,
// plot:disc1,depth:512 (its circles must nest; `limit_set=` alone takes
// every default). A layer's values may also be given by position, as links
// once were:
//   outlines=CIRCLES,COLOUR  discs=CIRCLES,COLOUR
//   generations=CIRCLES,STYLE,COLOURS
//   walk=CIRCLES,PICK,INSIDE,POINT,STEPS,BURN_IN,X,Y,PREVIOUS,SEED,SKIP,COLOUR,PLOT
// A choice of circles is "all" or indices joined by ':'; colours are names
// or rrggbb; numbers never carry a '+'. Errors name the fields of the JSON
// form (layers[2].steps). The writer writes the named form.
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

void to_json(nlohmann::ordered_json& j, const Scene& scene);  // every field stated
// As written (--out, links): "version": 1 first, every field at its default
// left out but the view and a walk's start.
void to_written_json(nlohmann::ordered_json& j, const Scene& scene);
// Every problem goes to `errors`; `scene` is set only when there is none.
bool from_json(const nlohmann::ordered_json& j, Scene& scene, SceneErrors& errors);

bool read_scene_json(std::string_view text, Scene& scene, SceneErrors& errors);
bool read_scene_link(std::string_view query, Scene& scene, SceneErrors& errors);
std::string scene_json_text(const Scene& scene);  // indented, ends with a newline
std::string scene_link(const Scene& scene);

// "field: message; field: message ..." on one line, the first problem first.
std::string error_line(const SceneErrors& errors);
