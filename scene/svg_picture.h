// A scene drawn as SVG, written through a callback as the PNG encoder is
// (png_encode.h).
//
// Outlines, discs and generations become <circle> elements placed exactly
// where the rasterisers put them, in the picture's pixel coordinates: the
// centre at the middle of its pixel (column + 0.5, row + 0.5), the radius
// the pixel radius; an outline is stroked one pixel wide, a disc filled to
// radius + 0.5, the outer edge of its spans. Each walk is one PNG layer of
// the picture's size, transparent but for the walk's points, embedded as a
// base64 data URI; `scratch` (a canvas of that size) is where it is drawn,
// and `progress`, when given, hears how far each walk and each
// generations layer is. A failure (the callback refused the bytes, or the
// PNG encoder failed) is one SceneError with no field, as the scene part
// reports every problem. `threads` draws the walks as draw_scene does.
#pragma once

#include "canvas.h"
#include "draw_scene.h"
#include "png_encode.h"
#include "scene.h"
#include "scene_json.h"

bool write_scene_svg(const Scene& scene, const Canvas& scratch, const SceneProgress* progress,
                     PngWrite write, void* context, SceneErrors& errors,
                     int threads = 1);
