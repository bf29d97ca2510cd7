// A motion: the frames between two scenes, the circles moved smoothly from
// the first scene's to the second's while everything else stays.
//
// What moves: each circle's centre and radius, eased (slow at both ends),
// and the view, its scale geometrically so that a zoom looks even, its
// centre so that the zoom is about the one point that both views show at
// the same pixel (a pan, at one scale). What stays, equal in every frame,
// the first scene's: the size, background, numbers, colours, a walk's
// steps, seed, start and every other value of the layers. What cannot be
// moved must be the same in both (the counts of circles and layers, each
// layer's kind and choice of circles, a walk's pick, inside and point
// rules), or the two make no motion.
//
// Frame 0 is the first scene, frame N - 1 the second (at the first's
// size), bit for bit. The arithmetic is IEEE operations alone (no library
// exp or log, whose last bits may differ between C libraries), so the
// explorer's engine computes the same frames as ./suite render.
#pragma once

#include <cstdint>

#include "scene.h"
#include "scene_json.h"

// Frames of a motion, and pixels of all its frames together: the output is
// held whole until it is written.
constexpr int max_motion_frames = 1000;
constexpr std::int64_t max_motion_pixels = 1000000000;  // 10^9

// Whether `a` and `b` make a motion of `frames` frames: the fields that
// cannot be moved, and every frame checked as a scene file is. Every
// problem to `errors`, the field named.
bool check_motion(const Scene& a, const Scene& b, int frames, SceneErrors& errors);

// Frame `frame` (0 to frames - 1) of the motion from `a` to `b`, which
// check_motion accepted.
Scene motion_frame(const Scene& a, const Scene& b, int frame, int frames);
