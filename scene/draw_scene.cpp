#include "draw_scene.h"

namespace {

// Runs a drawing begun to its end in pieces, reporting after each.
void run(SceneDrawing& drawing, const SceneProgress* progress) {
  while (!scene_drawing_complete(drawing)) {
    continue_scene_drawing(drawing, std::int64_t{1} << 22);
    if (progress != nullptr && drawing.total > 0)
      progress->report(progress->context,
                       static_cast<double>(drawing.done) / static_cast<double>(drawing.total));
  }
}

}  // namespace

void draw_scene(const Scene& scene, const Canvas& canvas, const SceneProgress* progress) {
  SceneDrawing drawing;
  begin_scene_drawing(drawing, scene, canvas);
  run(drawing, progress);
}

void draw_layer(const Scene& scene, int layer, const Canvas& canvas,
                const SceneProgress* progress) {
  SceneDrawing drawing;
  begin_scene_layers(drawing, scene, canvas, layer, layer + 1);
  run(drawing, progress);
}

WalkEnd walk_end(const Scene& scene, int layer) {
  std::uint32_t spare_pixel = 0;
  SceneDrawing drawing;
  begin_scene_layers(drawing, scene, Canvas{&spare_pixel, 1, 1, 1}, layer, layer + 1);
  run(drawing, nullptr);
  return {drawing.walk.state.previous, drawing.walk.random};
}

void visit_generations(const Scene& scene, int layer, const WorldFrame& frame,
                       GenerationVisit visit, void* context, const SceneProgress* progress) {
  std::uint32_t spare_pixel = 0;
  SceneDrawing drawing;
  begin_scene_layers(drawing, scene, Canvas{&spare_pixel, 1, 1, 1}, layer, layer + 1);
  drawing.frame = frame;
  drawing.visit = visit;
  drawing.visit_context = context;
  run(drawing, progress);
}
