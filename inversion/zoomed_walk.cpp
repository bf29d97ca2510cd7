#include "zoomed_walk.h"

#include <algorithm>

#include "invert_point.h"

static void keep_word(void* context, const LimitSetRun& run, int last, const GeneralDisc&) {
  CoverWords& words = *static_cast<CoverWords*>(context);
  int letters[max_limit_depth];
  const int length = limit_word(run, last, letters);
  const int at = words.start[words.count];
  if (words.count == max_cover_words || at + length > max_cover_letters) {
    ++words.dropped;
    return;
  }
  for (int l = 0; l < length; ++l) words.letter[at + l] = static_cast<std::int8_t>(letters[l]);
  words.start[++words.count] = at + length;
}

void cover_words(const NestedDiscs& discs, const WorldFrame& frame, int width, int height,
                 int depth, LimitSetRun& run, CoverWords& words, double share) {
  words.count = 0;
  words.start[0] = 0;
  words.dropped = 0;
  LimitRules rules{depth, INT64_MAX, LimitPlot::pixel, false, 0, {}, share * std::max(width, height),
                   {keep_word, &words}};
  std::uint32_t spare = 0;
  begin_limit_set(run, discs, rules, frame, width, height);
  continue_limit_set(run, Canvas{&spare, 1, 1, 1}, INT64_MAX);
}

WalkCounts zoomed_walk(const Canvas& canvas, const WalkCircles& circles, const CoverWords& words,
                       WalkState& state, const WalkRules& rules, const WorldFrame& frame,
                       RandomGenerator& random) {
  WalkRules one = rules;
  one.steps = 1;
  one.burn_in = no_burn_in;
  std::uint32_t spare = 0;
  const Canvas nowhere{&spare, 1, 1, 1};
  WalkCounts counts{0, 0, false};
  for (long s = 0; s < rules.steps; ++s) {
    const WalkCounts step = inversion_walk(nowhere, circles, state, one, frame, random);
    counts.refused += step.refused;
    if (step.stuck) {
      counts.stuck = true;
      break;
    }
    if (s < rules.burn_in || step.plotted == 0) continue;
    for (int w = 0; w < words.count; ++w) {
      const int last = words.start[w + 1] - 1;
      if (words.letter[last] != state.previous) continue;
      Point q{state.x, state.y};
      for (int l = last - 1; l >= words.start[w]; --l) {
        const int k = words.letter[l];
        q = invert_point(q.x, q.y, circles.x[k], circles.y[k], circles.R2[k]);
      }
      plot_clipped(canvas, frame_column(frame, q.x), frame_row(frame, q.y), rules.colour);
      ++counts.plotted;
    }
  }
  return counts;
}
