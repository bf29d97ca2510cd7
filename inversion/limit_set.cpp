#include "limit_set.h"

#include <cmath>

#include "fill_disc.h"
#include "invert_circle.h"

void begin_limit_set(LimitSetRun& run, const NestedDiscs& discs, const LimitRules& rules,
                     const WorldFrame& frame, int width, int height) {
  run.n = discs.n < 0 ? 0 : (discs.n > max_nested_circles ? max_nested_circles : discs.n);
  run.rules = rules;
  if (!(run.rules.leaf_radius > 0)) run.rules.leaf_radius = 0.5;
  if (run.rules.depth < 1) run.rules.depth = 1;
  if (run.rules.depth > limit_depth_capacity(run.n)) run.rules.depth = limit_depth_capacity(run.n);
  run.frame = frame;
  // A point plots where its pixel coordinate u has -1 < u < width (the frame
  // truncates toward zero); one more pixel of margin keeps a leaf whose
  // centre rounds either way at the edge.
  run.left = -2.0;
  run.top = -2.0;
  run.right = width + 1.0;
  run.bottom = height + 1.0;
  run.counts = {};
  for (int k = 0; k < run.n; ++k) run.image[k] = discs.disc[k];
  run.level[0].mirror = -1;
  run.level[0].next = 0;
  run.levels = run.n > 0 ? 1 : 0;
}

// The image of the generalised disc d in the circle of m. The image is an
// outside disc when d holds the mirror's centre, which inversion sends to
// infinity: den, the centre's power, is negative inside d's circle.
static GeneralDisc image_disc(const GeneralDisc& m, const GeneralDisc& d) {
  const Circle c = image_circle(m.x, m.y, m.r * m.r, d.x, d.y, d.r);
  const double DX = d.x - m.x;
  const double DY = d.y - m.y;
  const double den = DX * DX + DY * DY - d.r * d.r;
  return {c.x, c.y, c.r, d.outside ? den > 0 : den < 0};
}

// Whether the disc c reaches out of the disc p that should hold it by more
// than stray_tolerance times the smaller radius. Nested discs never do
// (rounding aside), but discs that overlap within nested_tolerance make a
// word of two inversions a small rotation, whose images wander out of their
// parents, far past this share once turned, and would multiply without end:
// such a word is cut. Ten times the nesting tolerance, so that the first
// images of an overlap a configuration is allowed are kept.
constexpr double stray_tolerance = 10 * nested_tolerance;

static bool strays(const GeneralDisc& c, const GeneralDisc& p) {
  if (c.outside && !p.outside) return true;
  const double dx = c.x - p.x;
  const double dy = c.y - p.y;
  const double d = std::sqrt(dx * dx + dy * dy);
  const double excess = c.outside ? d + p.r - c.r : p.outside ? p.r + c.r - d : d + c.r - p.r;
  return !(excess <= stray_tolerance * std::fmin(c.r, p.r));
}

enum class Word { pruned, leaf, cut, followed };

static Word classify(const LimitSetRun& run, const GeneralDisc& d) {
  const WorldFrame& f = run.frame;
  // The same sums the frame truncates, so a leaf's test and its pixel agree.
  const double px = f.origin_column + d.x * f.scale;
  const double py = f.y_axis == YAxis::up ? f.origin_row - d.y * f.scale
                                          : f.origin_row + d.y * f.scale;
  const double pr = d.r * f.scale;
  if (!std::isfinite(px) || !std::isfinite(py) || !std::isfinite(pr)) return Word::cut;
  if (d.outside) {
    // The box lies within the circle when its farthest corner does.
    const double fx = std::fmax(px - run.left, run.right - px);
    const double fy = std::fmax(py - run.top, run.bottom - py);
    return fx * fx + fy * fy < pr * pr ? Word::pruned : Word::followed;
  }
  if (px + pr < run.left || px - pr > run.right || py + pr < run.top || py - pr > run.bottom)
    return Word::pruned;
  return pr < run.rules.leaf_radius ? Word::leaf : Word::followed;
}

static void plot_leaf(const LimitSetRun& run, const Canvas& canvas, const GeneralDisc& d,
                      int first) {
  const std::uint32_t colour = run.rules.by_first_circle ? run.rules.colours[first]
                                                         : run.rules.colour;
  const int column = frame_column(run.frame, d.x);
  const int row = frame_row(run.frame, d.y);
  switch (run.rules.plot) {
    case LimitPlot::pixel: plot_clipped(canvas, column, row, colour); return;
    case LimitPlot::disc1: fill_disc(canvas, column, row, 1, colour); return;
    case LimitPlot::disc2: fill_disc(canvas, column, row, 2, colour); return;
  }
}

int limit_word(const LimitSetRun& run, int last, int* letters) {
  for (int l = 1; l < run.levels; ++l) letters[l - 1] = run.level[l].mirror;
  letters[run.levels - 1] = last;
  return run.levels;
}

std::int64_t continue_limit_set(LimitSetRun& run, const Canvas& canvas, std::int64_t work) {
  const int n = run.n;
  std::int64_t done = 0;
  while (done < work && run.levels > 0) {
    if (run.counts.words >= run.rules.words) {
      run.counts.stopped = true;
      run.levels = 0;
      break;
    }
    LimitLevel& top = run.level[run.levels - 1];
    const GeneralDisc* images = run.image + (run.levels - 1) * n;
    if (top.next >= n) {
      --run.levels;
      continue;
    }
    const int k = top.next++;
    if (k == top.mirror) continue;
    ++done;
    ++run.counts.words;
    const GeneralDisc& d = images[k];
    if (top.mirror >= 0) {
      const GeneralDisc& m = images[top.mirror];  // the parent's complement
      if (strays(d, {m.x, m.y, m.r, !m.outside})) {
        ++run.counts.strayed;
        continue;
      }
    }
    const Word word = classify(run, d);
    if (word == Word::pruned) continue;
    if (word == Word::leaf) {
      if (run.rules.visit.leaf != nullptr)
        run.rules.visit.leaf(run.rules.visit.context, run, k, d);
      else
        plot_leaf(run, canvas, d, run.levels == 1 ? k : run.level[1].mirror);
      ++run.counts.plotted;
      continue;
    }
    // The child's words are one letter longer: at the bound it is cut.
    if (word == Word::cut || run.levels == run.rules.depth) {
      ++run.counts.cut;
      continue;
    }
    LimitLevel& next = run.level[run.levels];
    GeneralDisc* next_images = run.image + run.levels * n;
    for (int j = 0; j < n; ++j)
      next_images[j] = j == k ? GeneralDisc{d.x, d.y, d.r, !d.outside} : image_disc(d, images[j]);
    next.mirror = k;
    next.next = 0;
    ++run.levels;
    done += n - 1;
  }
  return done;
}
