// The programs' frames that are one scene, as scenes: frame F of PROGRAM
// (its F-th flip, as the export numbers its files) at a clock, built from
// the constants the program itself reads (program_circles.h). Drawn at
// 800 x 600 it equals that frame pixel for pixel.
//
// Where a walk continues a generator or a previous circle from an earlier
// walk of the program, the scene states where: the earlier walks are run
// (on a one-pixel canvas) and the draws they took counted into `skip`.
//
// A picture is what a program shows at a wait, for a key: its last frame
// before the wait. Both counts come from programs/programs.list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scene.h"
#include "scene_json.h"

struct PictureFrame {
  int frame = 0;   // the frame picture K shows, complete
  int frames = 0;  // the frames the program draws
};

// Picture K of `program` as a frame. False, with one error saying why, for
// a program that is not listed or a picture it does not have.
bool picture_frame(std::string_view program, std::int64_t picture, PictureFrame& found,
                   SceneErrors& errors);

// False, with one error saying why, for a frame that is not one scene or
// does not exist.
bool program_scene(std::string_view program, std::int64_t frame, std::uint32_t clock,
                   Scene& scene, SceneErrors& errors);
