// A walk that stays full when zoomed: the walk of the whole limit set,
// each point carried into the view by the words whose images cover it.
//
// The limit set inside the image g(D) of a word, D the disc of its last
// circle and g the inversions in the circles before it, is g applied to
// the limit set inside D. cover_words finds the words whose images meet the
// view and are no larger than a share of it (limit_set.h's depth-first
// search, its leaf radius that share of the view's longer side, a
// sixteenth unless said: 50 pixels at 800 x 600, the same region's words
// at any size). A view then holds a
// few dozen words, each carrying the whole walk, so a zoomed view is about
// as full as the walk's own picture at 1 x for the same steps. zoomed_walk then runs the walk
// of the unzoomed circles, whose point after an inversion in circle j lies
// in D_j, and plots, for every cover word ending in j, the point carried
// through the word's other circles, last first, by invert_point: the same
// inversion the walk makes, in doubles written out, so the picture is the
// same on every build.
//
// What a zoomed walk's pixels are: the images, under the cover words, of
// the points of an ordinary walk; each is a point of the limit set as
// exactly as the walk's own points are (the walk's point plus one rounded
// inversion a letter). With one cover word a view is as full as the whole
// limit set at 1 x for the same steps; more cover words plot more points.
// At 1 x the cover words are the circles themselves and the zoomed walk is
// the walk. Cover words past max_cover_words are dropped (counted).
#pragma once

#include <cstdint>

#include "canvas.h"
#include "inversion_walk.h"
#include "limit_set.h"
#include "random_generator.h"

constexpr int max_cover_words = 256;
constexpr int max_cover_letters = 16384;

struct CoverWords {
  int count;
  int start[max_cover_words + 1];  // word w's letters: letter[start[w] .. start[w + 1] - 1]
  std::int8_t letter[max_cover_letters];
  int dropped;  // words that did not fit
};

// The words of `discs` whose images cover the view (the canvas of
// width x height through `frame`), found with words up to `depth` letters.
// `run` is the search's stack, any state on entry.
constexpr double cover_share = 1.0 / 16;
void cover_words(const NestedDiscs& discs, const WorldFrame& frame, int width, int height,
                 int depth, LimitSetRun& run, CoverWords& words, double share = cover_share);

// The walk of `circles` (those of `discs`, as the walk reads them) for the
// rules' steps, each plotted point carried by the cover words: a pixel each.
WalkCounts zoomed_walk(const Canvas& canvas, const WalkCircles& circles, const CoverWords& words,
                       WalkState& state, const WalkRules& rules, const WorldFrame& frame,
                       RandomGenerator& random);
