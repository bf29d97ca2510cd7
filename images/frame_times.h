// How long each picture of an animation stays on screen, chosen from the
// number of pictures alone.
//
// Many pictures are the stages of one motion (a zoom, a growing circle) and
// play as a short film; a few pictures are separate steps and each gets
// about a second. Either way the first picture is held a little, so the eye
// finds the start, and the last one longest, so the end can be looked at
// before the animation starts over.
#pragma once

#include <cstddef>
#include <vector>

// One duration in milliseconds for each of `count` pictures.
std::vector<int> frame_times_ms(std::size_t count);
