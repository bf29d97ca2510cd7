// An explorer link's query, read into a scene: either a scene's compact form
// (scene_json.h) or the program page's link to one of its frames,
// program=NAME&frame=F&clock=N (in any order; frame 1 when none is named),
// which is that frame's scene (program_scenes.h). A link written before
// frames had their own key, program=NAME&picture=K&clock=N with no frame=,
// opens frame K as it always did. ./suite render and the explorer's engine
// both read links here, so a link draws the same scene in either.
#pragma once

#include <string_view>

#include "scene.h"
#include "scene_json.h"

bool read_explorer_link(std::string_view query, Scene& scene, SceneErrors& errors);
