// The limit set of the inversions in nested discs (nested_discs.h), drawn
// for a view word by word instead of by a random walk.
//
// A word is a sequence of circles, never the same one twice in a row; its
// image is the disc of its last circle carried by the inversions in the
// ones before it, first circle outermost. The image of a word holds the
// images of all the words that extend it, so words are followed depth first,
// children in circle order, and a word is
//   pruned    when its image lies outside the view's box (the canvas and a
//             pixel of margin; an outside disc is pruned when the whole box
//             lies within its circle, so a disc that holds the view is
//             followed, never plotted);
//   a leaf    when its image is an inside disc less than a pixel across
//             (or less than the rules' leaf radius, for a visitor):
//             its centre is plotted (a pixel or a small filled disc), so
//             every point of the limit set in it lies within a pixel of
//             what is plotted;
//   cut       when it reaches the depth bound still larger than a pixel, or
//             its image is not finite, or reaches out of its parent's (only
//             discs that overlap within the tolerance make one, when the
//             view is small enough to see their overlap): nothing is
//             plotted and it is counted.
// Colours: the word's first circle's, or one colour.
//
// Each level of the stack holds the images of all n discs under the map of
// its word: the next level's are their images in its chosen disc's circle
// (the inversion in the image of a circle under a map g is g s g^-1), so
// every image is one inversion of a circle in a circle (image_circle), in
// doubles written out, and the same on every build.
//
// Resumable: begin_limit_set sets up the stack; each continue_limit_set
// follows the words for a budget of work units from where the last one
// stopped, so any split of the work plots the same pixels as one run. A
// unit is one image disc looked at or computed. Nothing is allocated:
// LimitSetRun holds the stack for the deepest word, about 290 KB, so keep
// it off small stacks (the browser's is 64 KB).
//
// Tangent circles make parabolic words whose images shrink slowly, as 1 / k^2
// over k letters, near the point of contact: the depth bound ends such a
// frame, and what it leaves out is a neighbourhood of each point of contact
// that the words reach with fewer letters left than they need, its size
// falling as 1 / depth (k letters reach a distance of about 1 / k). The
// count of words ends any frame, whatever the circles (an overlap within
// the tolerance, zoomed, or circles that do not nest at all).
#pragma once

#include <cstdint>

#include "canvas.h"
#include "nested_discs.h"
#include "world_frame.h"

// The stack holds max_limit_images images, n a level: words of up to
// limit_depth_capacity(n) letters (2730 for three circles, 512 for 16).
constexpr int max_limit_depth = 4096;
constexpr int max_limit_images = 8192;

constexpr int limit_depth_capacity(int n) {
  return n < 2 ? max_limit_depth
               : (max_limit_images / n < max_limit_depth ? max_limit_images / n : max_limit_depth);
}

enum class LimitPlot { pixel, disc1, disc2 };

struct LimitSetRun;

// A leaf handed to a visitor instead of plotted: the word is the run's
// stack mirrors level[1 .. levels - 1] then `last` (limit_word).
struct LimitVisit {
  void (*leaf)(void* context, const LimitSetRun& run, int last, const GeneralDisc& image);
  void* context;
};

struct LimitRules {
  int depth;            // longest word followed, 1 to limit_depth_capacity(n)
  std::int64_t words;   // most words looked at before the run ends, stopped
  LimitPlot plot;
  bool by_first_circle;  // colours[first circle of the word], else colour
  std::uint32_t colour;
  std::uint32_t colours[max_nested_circles];
  double leaf_radius;  // pixels; 0 (or less) means 0.5, a disc under a pixel across
  LimitVisit visit;    // null leaf: plot
};

struct LimitCounts {
  std::int64_t words;    // words looked at
  std::int64_t plotted;  // leaves plotted (on the canvas or not)
  std::int64_t cut;      // words cut at the depth bound or not finite
  std::int64_t strayed;  // words cut for reaching out of their parent
  bool stopped;          // ended at the rules' count of words, unfinished
};

struct LimitLevel {
  int mirror;  // the word's last circle, which its children skip; -1 at the root
  int next;    // the next child to look at
};

struct LimitSetRun {
  int n;
  LimitRules rules;
  WorldFrame frame;
  double left, top, right, bottom;  // the view's box in pixel coordinates
  int levels;                       // on the stack; 0 when done
  LimitCounts counts;
  LimitLevel level[max_limit_depth];
  GeneralDisc image[max_limit_images];  // level l's: every disc under its map, from l n on
};

// The view is the canvas of width x height seen through `frame`. A depth
// outside 1 to limit_depth_capacity(n) is taken to the nearest.
void begin_limit_set(LimitSetRun& run, const NestedDiscs& discs, const LimitRules& rules,
                     const WorldFrame& frame, int width, int height);

// Follows words for about `work` more units (an image step is finished, so
// at most n - 1 over); returns the units done. The canvas is the view's.
std::int64_t continue_limit_set(LimitSetRun& run, const Canvas& canvas, std::int64_t work);

inline bool limit_set_done(const LimitSetRun& run) { return run.levels == 0; }

// The letters of the word whose child `last` a visitor is handed, first
// circle first; returns its length.
int limit_word(const LimitSetRun& run, int last, int* letters);
