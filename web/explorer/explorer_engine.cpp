// The explorer's engine: the calls its worker (explore_worker.js) makes into
// the scene part, compiled to WebAssembly. C names, strings in as UTF-8,
// results kept here until the next call: explorer_text() holds the last
// text (a scene's JSON, a link, or one error line); a call returns 0 when
// it succeeded and 1 when explorer_text() holds its error.
//
// One picture is in progress at a time: explorer_begin reads a scene and
// draws it up to its first walk; explorer_walk goes on by some steps,
// drawing the layers between walks as it passes them, exactly as
// draw_scene does in one go; explorer_pixels gives the picture so far as
// RGBA bytes with the layers still to come drawn over it, so a frame of a
// drag shows the circles over a partial walk. Once the walk is complete it
// is draw_scene's picture, pixel for pixel.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "draw_scene.h"
#include "explorer_link.h"
#include "scene_json.h"
#include "scene_walk.h"
#include "svg_picture.h"

namespace {

struct Picture {
  Scene scene;
  WorldFrame frame;
  std::vector<std::uint32_t> pixels;  // the layers drawn so far
  std::vector<std::uint32_t> shown;   // those, with the layers to come over them, as RGBA
  int layer;                          // the next layer to draw, or the walk in progress
  bool walking;
  SceneWalkRun run;
  std::int64_t done;   // walk steps, over all walk layers
  std::int64_t total;
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

// Draws layers up to the next walk (which it starts) or the end.
void draw_to_walk(Picture& p) {
  const Canvas canvas = canvas_of(p.pixels, p.scene);
  while (!p.walking && p.layer < p.scene.layer_count) {
    if (p.scene.layers[p.layer].kind == LayerKind::walk) {
      p.run = begin_scene_walk(p.scene, p.scene.layers[p.layer]);
      p.walking = true;
    } else {
      draw_layer(p.scene, p.layer, canvas);
      ++p.layer;
    }
  }
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

// An address's query: program=NAME&picture=K&clock=N, or a scene's compact
// form. The scene's JSON into explorer_text().
EMSCRIPTEN_KEEPALIVE int explorer_scene_from_link(const char* query) {
  Scene scene;
  SceneErrors errors;
  if (!read_explorer_link(query, scene, errors)) return answer(false, error_line(errors));
  return answer(true, scene_json_text(scene));
}

// Reads the scene (JSON), makes its canvas width x height and draws it up
// to its first walk. Its link into explorer_text().
EMSCRIPTEN_KEEPALIVE int explorer_begin(const char* json, int width, int height) {
  Scene scene;
  SceneErrors errors;
  if (!read_scene_json(json, scene, errors)) return answer(false, error_line(errors));
  const std::string link = scene_link(scene);
  Picture& p = picture;
  p.scene = resized_scene(scene, width, height);
  p.frame = scene_frame(p.scene, width, height);
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  p.pixels.assign(size, p.scene.background);
  p.shown.resize(size);
  p.layer = 0;
  p.walking = false;
  p.done = 0;
  p.total = 0;
  for (int k = 0; k < p.scene.layer_count; ++k)
    if (p.scene.layers[k].kind == LayerKind::walk) p.total += p.scene.layers[k].walk.steps;
  draw_to_walk(p);
  return answer(true, link);
}

EMSCRIPTEN_KEEPALIVE double explorer_walk_total() { return static_cast<double>(picture.total); }

// Goes on by about `steps` walk steps (whole rounds of a cyclic walk);
// returns the steps done so far, all of them once the picture is complete.
EMSCRIPTEN_KEEPALIVE double explorer_walk(double steps) {
  Picture& p = picture;
  std::int64_t budget = static_cast<std::int64_t>(steps);
  const Canvas canvas = canvas_of(p.pixels, p.scene);
  while (p.walking && budget > 0) {
    const std::int64_t before = p.run.done;
    continue_scene_walk(p.run, canvas, p.frame, budget);
    p.done += p.run.done - before;
    budget -= p.run.done - before;
    if (p.run.done >= p.run.total) {  // a stuck walk counts as done
      p.walking = false;
      ++p.layer;
      draw_to_walk(p);
    }
  }
  if (!p.walking) draw_to_walk(p);
  return static_cast<double>(p.walking ? p.done : p.total);
}

// The picture so far, RGBA, width x height: the layers after the walk in
// progress drawn over it (a later walk is left out until it is reached).
EMSCRIPTEN_KEEPALIVE const std::uint8_t* explorer_pixels() {
  Picture& p = picture;
  int later = p.layer + (p.walking ? 1 : 0);
  while (later < p.scene.layer_count && p.scene.layers[later].kind == LayerKind::walk) ++later;
  if (later == p.scene.layer_count) {  // nothing to draw over it: one pass
    to_rgba(p.pixels.data(), p.shown.data(), p.shown.size());
  } else {
    std::copy(p.pixels.begin(), p.pixels.end(), p.shown.begin());
    const Canvas shown = canvas_of(p.shown, p.scene);
    for (int k = later; k < p.scene.layer_count; ++k)
      if (p.scene.layers[k].kind != LayerKind::walk) draw_layer(p.scene, k, shown);
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
  char error[256] = "";
  if (!write_scene_svg(sized, Canvas{scratch.data(), width, height, width}, nullptr, append, &bytes, error,
                       sizeof error))
    return answer(false, error);
  return answer(true, "");
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* explorer_bytes() { return bytes.data(); }
EMSCRIPTEN_KEEPALIVE double explorer_byte_count() { return static_cast<double>(bytes.size()); }

}  // extern "C"
