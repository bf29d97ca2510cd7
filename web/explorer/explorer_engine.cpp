// The explorer's engine: the calls its worker (explore_worker.js) makes into
// the scene part, compiled to WebAssembly. C names, strings in as UTF-8,
// results kept here until the next call: explorer_text() holds the last
// text (a scene's JSON, a link, or one error line); a call returns 0 when
// it succeeded and 1 when explorer_text() holds its error.
//
// One picture is in progress at a time, a scene's drawing (scene_drawing.h)
// run in pieces: explorer_begin reads a scene and sets its drawing up;
// explorer_walk goes on by a budget of work; explorer_pixels gives the
// picture so far as RGBA bytes with the light layers still to come drawn
// over it, so a frame of a drag shows the circles over a partial walk. Once
// the work is complete it is draw_scene's picture, pixel for pixel.
#include <emscripten/emscripten.h>
#include <nlohmann/json.hpp>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "draw_scene.h"
#include "explorer_link.h"
#include "scene_json.h"
#include "scene_drawing.h"
#include "svg_picture.h"

namespace {

struct Picture {
  Scene scene;
  std::vector<std::uint32_t> pixels;  // the work done so far
  std::vector<std::uint32_t> shown;   // that, with the layers to come over it, as RGBA
  SceneDrawing drawing;               // refers to scene and pixels
};

std::string text;
Picture picture;
std::vector<std::uint8_t> bytes;

Canvas canvas_of(std::vector<std::uint32_t>& pixels, const Scene& scene) {
  return {pixels.data(), scene.width, scene.height, scene.width};
}

int answer(bool ok, std::string message) {
  text = std::move(message);
  return ok ? 0 : 1;
}

// 0x??RRGGBB words to the bytes R, G, B, 255 in memory (little-endian);
// `to` may be `from`.
void to_rgba(const std::uint32_t* from, std::uint32_t* to, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k) {
    const std::uint32_t v = from[k];
    to[k] = 0xFF000000u | (v & 0x0000FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
  }
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* explorer_text() { return text.c_str(); }

// An address's query: program=NAME&frame=F&clock=N, or a scene's compact
// form. The scene's JSON into explorer_text(), every field stated (not the
// short form a file is written in), since the page edits fields in place.
EMSCRIPTEN_KEEPALIVE int explorer_scene_from_link(const char* query) {
  Scene scene;
  SceneErrors errors;
  if (!read_explorer_link(query, scene, errors)) return answer(false, error_line(errors));
  nlohmann::ordered_json json;
  to_json(json, scene);
  return answer(true, json.dump());
}

// Whether a scene (JSON) reads: its error line into explorer_text() when it
// does not. Nothing is drawn, so the picture in progress goes on.
EMSCRIPTEN_KEEPALIVE int explorer_check(const char* json) {
  Scene scene;
  SceneErrors errors;
  const bool read = read_scene_json(json, scene, errors);
  return answer(read, error_line(errors));
}

// Reads the scene (JSON), makes its canvas width x height and sets its
// drawing up (nothing drawn yet but the background). Its link into
// explorer_text().
EMSCRIPTEN_KEEPALIVE int explorer_begin(const char* json, int width, int height) {
  Scene scene;
  SceneErrors errors;
  if (!read_scene_json(json, scene, errors)) return answer(false, error_line(errors));
  const std::string link = scene_link(scene);
  Picture& p = picture;
  p.scene = resized_scene(scene, width, height);
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  p.pixels.resize(size);
  p.shown.resize(size);
  begin_scene_drawing(p.drawing, p.scene, canvas_of(p.pixels, p.scene));
  return answer(true, link);
}

// The units of work of the whole picture (scene_drawing.h): walk steps,
// draws of a walk's skip, images of generations, circles.
EMSCRIPTEN_KEEPALIVE double explorer_walk_total() { return static_cast<double>(picture.drawing.total); }

// Goes on by about `units` of work; returns the units done so far, all of
// them once the picture is complete.
EMSCRIPTEN_KEEPALIVE double explorer_walk(double units) {
  SceneDrawing& d = picture.drawing;
  if (!scene_drawing_complete(d)) continue_scene_drawing(d, static_cast<std::int64_t>(units));
  return static_cast<double>(d.done);
}

// The picture so far, RGBA, width x height, with the light layers to come
// drawn over it.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* explorer_pixels() {
  Picture& p = picture;
  if (scene_drawing_complete(p.drawing)) {  // nothing to draw over it: one pass
    to_rgba(p.pixels.data(), p.shown.data(), p.shown.size());
  } else {
    std::copy(p.pixels.begin(), p.pixels.end(), p.shown.begin());
    draw_layers_to_come(p.drawing, canvas_of(p.shown, p.scene));
    to_rgba(p.shown.data(), p.shown.data(), p.shown.size());
  }
  return reinterpret_cast<const std::uint8_t*>(p.shown.data());
}

// The whole scene drawn afresh at width x height, as RGBA in explorer_bytes()
// (the worker encodes it as PNG).
EMSCRIPTEN_KEEPALIVE int explorer_png(const char* json, int width, int height) {
  Scene scene;
  SceneErrors errors;
  if (!read_scene_json(json, scene, errors)) return answer(false, error_line(errors));
  bytes.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
  auto* words = reinterpret_cast<std::uint32_t*>(bytes.data());
  draw_scene(scene, Canvas{words, width, height, width});
  to_rgba(words, words, bytes.size() / 4);
  return answer(true, "");
}

// The scene at width x height as SVG (svg_picture.h) in explorer_bytes().
EMSCRIPTEN_KEEPALIVE int explorer_svg(const char* json, int width, int height) {
  Scene scene;
  SceneErrors errors;
  if (!read_scene_json(json, scene, errors)) return answer(false, error_line(errors));
  const Scene sized = resized_scene(scene, width, height);
  std::vector<std::uint32_t> scratch(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  bytes.clear();
  const PngWrite append = [](void* context, const void* data, std::size_t size) {
    auto& out = *static_cast<std::vector<std::uint8_t>*>(context);
    out.insert(out.end(), static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
    return true;
  };
  if (!write_scene_svg(sized, Canvas{scratch.data(), width, height, width}, nullptr, append, &bytes, errors))
    return answer(false, error_line(errors));
  return answer(true, "");
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* explorer_bytes() { return bytes.data(); }
EMSCRIPTEN_KEEPALIVE double explorer_byte_count() { return static_cast<double>(bytes.size()); }

}  // extern "C"
