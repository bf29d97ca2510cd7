// A walk layer's stretch on several threads, with the pixels of one.
//
// A walk is one chain of inversions (each point is the image of the last),
// so one thread follows it: the calling thread, through the walk's own
// step, a block of steps at a time, recording the points it would plot
// (record_scene_walk). The other threads draw: each owns a band of the
// canvas's rows and draws, from every block, the plots that fall in its
// rows (plot_walk_points). While the chain computes block b, the bands draw
// block b - 1 (two buffers, a barrier between blocks), so drawing costs the
// chain no time.
//
// Why the pixels are those of one thread: the chain, its generator and its
// picks are the single-threaded walk's, step for step; each pixel is
// written by the one thread that owns its row (a ring plot crossing two
// bands is drawn half by each); and every plot of a walk layer has the
// layer's one colour, so the order in which blocks and bands land cannot
// change a pixel. The call returns only once every plot of its stretch is
// drawn, so the layers after it still draw over it, in order.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "scene_walk.h"
#include "world_frame.h"

constexpr int max_threads = 256;
constexpr std::int64_t threaded_block_steps = std::int64_t{1} << 16;

// continue_scene_walk on `threads` threads (1: that call itself).
std::int64_t continue_scene_walk_threaded(SceneWalkRun& run, const Canvas& canvas,
                                          const WorldFrame& frame, std::int64_t steps,
                                          int threads);
