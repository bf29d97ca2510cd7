#include "svg_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Text gathered in a buffer and handed on in pieces of about 64 KB.
struct SvgOut {
  PngWrite write;
  void* context;
  std::string buffer;
  bool failed = false;

  void flush() {
    if (!failed && !buffer.empty() && !write(context, buffer.data(), buffer.size())) failed = true;
    buffer.clear();
  }
  void text(const std::string& s) {
    buffer += s;
    if (buffer.size() > 65536) flush();
  }
};

// Base64 of the bytes handed over, three bytes at a time.
struct Base64 {
  SvgOut* out;
  unsigned char carry[3];
  int held = 0;

  void put(unsigned char byte) {
    carry[held++] = byte;
    if (held == 3) emit();
  }
  void emit() {
    static constexpr char digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (held == 0) return;
    for (int i = held; i < 3; ++i) carry[i] = 0;
    const unsigned v = carry[0] << 16 | carry[1] << 8 | carry[2];
    char quad[4] = {digits[v >> 18 & 63], digits[v >> 12 & 63],
                    held > 1 ? digits[v >> 6 & 63] : '=', held > 2 ? digits[v & 63] : '='};
    out->buffer.append(quad, 4);
    held = 0;
  }
};

bool base64_write(void* context, const void* bytes, std::size_t size) {
  Base64* b = static_cast<Base64*>(context);
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i < size; ++i) b->put(p[i]);
  if (b->out->buffer.size() > 65536) b->out->flush();
  return !b->out->failed;
}

std::string hex(std::uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", colour & 0xFFFFFF);
  return text;
}

// One circle as the rasterisers place it; circles without a finite image
// are not drawn, as the routines draw none.
void circle_element(SvgOut& out, const WorldFrame& frame, const Circle& c, bool disc) {
  if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.r)) return;
  // Truncated toward zero as the rasterisers take them, with no clamp to
  // int, so a zoomed circle keeps its place. A radius of 0 is one pixel
  // either way. 1100 characters hold three of the largest doubles.
  const PixelCircle p = frame_circle(frame, c.x, c.y, c.r);
  const double r = std::trunc(p.r);
  const double radius = disc || r == 0 ? r + 0.5 : r;
  char text[1100];
  std::snprintf(text, sizeof text, "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\"/>\n",
                std::trunc(p.cx) + 0.5, std::trunc(p.cy) + 0.5, radius);
  out.text(text);
}

std::string group(std::uint32_t colour, bool disc) {
  return disc ? "<g fill=\"" + hex(colour) + "\" stroke=\"none\">\n"
              : "<g fill=\"none\" stroke=\"" + hex(colour) + "\" stroke-width=\"1\">\n";
}

struct GenerationOut {
  SvgOut* out;
  const Layer* layer;
  const WorldFrame* frame;
  int open = -1;  // the generation whose group is open
};

void generation_circle(void* context, int generation, const Circle& stored) {
  GenerationOut* g = static_cast<GenerationOut*>(context);
  const std::uint32_t colour = g->layer->colours[generation];
  if (colour == no_colour) return;
  const bool disc = g->layer->style == GenerationStyle::discs;
  if (g->open != generation) {
    if (g->open >= 0) g->out->text("</g>\n");
    g->out->text(group(colour, disc));
    g->open = generation;
  }
  circle_element(*g->out, *g->frame, stored, disc);
}

// A colour the layer does not plot, which the PNG makes transparent: one
// off the layer's colour, or off a limit set's first, past any it uses.
std::uint32_t clear_colour(const Scene& scene, const Layer& layer) {
  if (layer.kind != LayerKind::limit_set || !layer.limit.by_first_circle)
    return (layer.colour ^ 1) & 0xFFFFFF;
  int index[max_scene_circles];
  const int n = chosen_circles(scene, layer.circles, index);
  const std::uint32_t* used = layer.limit.colours;
  std::uint32_t clear = (used[0] ^ 1) & 0xFFFFFF;
  while (std::find(used, used + n, clear) != used + n) clear = (clear + 1) & 0xFFFFFF;
  return clear;
}

}  // namespace

bool write_scene_svg(const Scene& scene, const Canvas& scratch, const SceneProgress* progress,
                     PngWrite write, void* context, SceneErrors& errors,
                     int threads) {
  const int width = scratch.width, height = scratch.height;
  const WorldFrame frame = scene_frame(scene, width, height);
  SvgOut out{write, context, {}};
  const std::string w = std::to_string(width), h = std::to_string(height);
  out.text(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
      w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n<rect width=\"" + w +
      "\" height=\"" + h + "\" fill=\"" + hex(scene.background) + "\"/>\n");
  for (int k = 0; k < scene.layer_count && !out.failed; ++k) {
    const Layer& layer = scene.layers[k];
    if (layer.kind == LayerKind::outlines || layer.kind == LayerKind::discs) {
      const bool disc = layer.kind == LayerKind::discs;
      int index[max_scene_circles];
      const int n = chosen_circles(scene, layer.circles, index);
      out.text(group(layer.colour, disc));
      for (int i = 0; i < n; ++i) circle_element(out, frame, scene_circle(scene, index[i]), disc);
      out.text("</g>\n");
    } else if (layer.kind == LayerKind::generations) {
      GenerationOut g{&out, &layer, &frame};
      visit_generations(scene, k, frame, generation_circle, &g, progress);
      if (g.open >= 0) out.text("</g>\n");
    } else {
      // A walk or a limit set, as a raster over a clear colour.
      const std::uint32_t clear = clear_colour(scene, layer);
      for (int y = 0; y < height; ++y)
        std::fill_n(scratch.pixels + static_cast<std::ptrdiff_t>(y) * scratch.stride, width, clear);
      draw_layer(scene, k, scratch, progress, threads);
      out.text("<image width=\"" + w + "\" height=\"" + h +
               "\" xlink:href=\"data:image/png;base64,");
      Base64 b{&out, {}, 0};
      char error[256] = "";
      if (!encode_png(scratch, clear, base64_write, &b, error, sizeof error)) {
        errors.push_back({"", error});
        return false;
      }
      b.emit();
      out.text("\"/>\n");
    }
  }
  out.text("</svg>\n");
  out.flush();
  if (out.failed) errors.push_back({"", "cannot write the picture"});
  return !out.failed;
}
