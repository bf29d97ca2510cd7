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
//
// A motion (scene_motion.h) is drawn frame by frame as such a picture and
// written by the suite's animation writer: the worker encodes each frame's
// changed area as a lossless WebP still (the browser's encoder) and hands
// it back.
#include <emscripten/emscripten.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "animation_writer.h"
#include "draw_scene.h"
#include "frame_times.h"
#include "explorer_link.h"
#include "scene_json.h"
#include "scene_drawing.h"
#include "scene_motion.h"
#include "svg_picture.h"

namespace {

struct Picture {
  Scene scene;
  std::vector<std::uint32_t> pixels;  // the work done so far
  std::vector<std::uint32_t> shown;   // that, with the layers to come over it, as RGBA
  SceneDrawing drawing;               // refers to scene and pixels
};

struct Motion {
  Scene first;
  Scene last;
  int frames = 0;
  int frame = 0;  // the frame in progress
  std::vector<int> times;
  WebpAnimation animation;
  RgbImage shown;      // the frame in progress, once drawn
  AnimationArea area;  // its part to store
};

std::string text;
Picture picture;
Motion motion;
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

// A motion of `frames` frames from scene `first` to scene `last` (JSON),
// at the first's size: both links into explorer_text() as JSON.
EMSCRIPTEN_KEEPALIVE int explorer_motion_begin(const char* first, const char* last, int frames) {
  Motion& m = motion;
  SceneErrors errors;
  if (!read_scene_json(first, m.first, errors) || !read_scene_json(last, m.last, errors))
    return answer(false, error_line(errors));
  if (!check_motion(m.first, m.last, frames, errors)) return answer(false, error_line(errors));
  m.frames = frames;
  m.times = frame_times_ms(static_cast<std::size_t>(frames));
  begin_webp_animation(m.animation, m.first.width, m.first.height);
  return answer(true, nlohmann::json{{"first", scene_link(m.first)}, {"last", scene_link(m.last)},
                                     {"width", m.first.width}, {"height", m.first.height}}.dump());
}

// Sets up frame f's drawing, which explorer_walk goes on with.
EMSCRIPTEN_KEEPALIVE void explorer_motion_frame(int f) {
  Picture& p = picture;
  motion.frame = f;
  p.scene = motion_frame(motion.first, motion.last, f, motion.frames);
  p.pixels.resize(static_cast<std::size_t>(p.scene.width) * static_cast<std::size_t>(p.scene.height));
  begin_scene_drawing(p.drawing, p.scene, canvas_of(p.pixels, p.scene));
}

// The drawn frame's area to store, RGBA in explorer_bytes(); its place
// and size into explorer_text() as JSON.
EMSCRIPTEN_KEEPALIVE void explorer_motion_area() {
  Motion& m = motion;
  picture_of_canvas(canvas_of(picture.pixels, picture.scene), m.shown);
  m.area = next_animation_area(m.animation, m.shown);
  bytes.swap(m.area.rgba);
  text = nlohmann::json{{"x", m.area.x}, {"y", m.area.y}, {"width", m.area.width}, {"height", m.area.height}}.dump();
}

// Room for `size` bytes in explorer_bytes(), for the worker to write into.
EMSCRIPTEN_KEEPALIVE std::uint8_t* explorer_room(double size) {
  bytes.assign(static_cast<std::size_t>(size), 0);
  return bytes.data();
}

// The frame added, its still the WebP file in explorer_bytes().
EMSCRIPTEN_KEEPALIVE int explorer_motion_add() {
  Motion& m = motion;
  std::string error;
  if (!add_animation_frame(m.animation, m.shown, m.area, bytes.data(), bytes.size(), m.times[m.frame], error))
    return answer(false, error);
  return answer(true, "");
}

// The whole animated WebP into explorer_bytes().
EMSCRIPTEN_KEEPALIVE void explorer_motion_end() {
  bytes = webp_animation_file(motion.animation);
  motion.animation = WebpAnimation{};
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* explorer_bytes() { return bytes.data(); }
EMSCRIPTEN_KEEPALIVE double explorer_byte_count() { return static_cast<double>(bytes.size()); }

}  // extern "C"
