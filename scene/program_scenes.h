// The programs' pictures that are one scene, as scenes: "PROGRAM:K" is
// picture K (counted as the export numbers its files) of PROGRAM at a
// clock, built from the constants the program itself reads
// (program_circles.h). Drawn at 800 x 600 it equals that picture pixel for
// pixel.
//
// Where a walk continues a generator or a previous circle from an earlier
// walk of the program, the scene states where: the earlier walks are run
// (on a one-pixel canvas) and the draws they took counted into `skip`.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scene.h"
#include "scene_json.h"

// False, with one error saying why, for a picture that is not one scene or
// does not exist.
bool program_scene(std::string_view program, std::int64_t picture, std::uint32_t clock,
                   Scene& scene, SceneErrors& errors);
