// The limit set drawn word by word: which circles nest, agreement with the
// walk (an independent answer) on the programs' configurations, and the
// same pixels whatever the budget of each continuation.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "limit_set.h"
#include "walk_configurations.h"

namespace {

constexpr int width = 800, height = 600;
constexpr std::uint32_t background = 0xFFFFFF;

struct Picture {
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(width * height, background);
  Canvas canvas() { return {pixels.data(), width, height, width}; }
  std::uint32_t at(int x, int y) const { return pixels[y * width + x]; }
};

// Pixels of `a` with none of `b` in their 3 x 3 neighbourhood, and all of a's.
std::pair<long, long> far_from(const Picture& a, const Picture& b) {
  long far = 0, all = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (a.at(x, y) == background) continue;
      bool near = false;
      for (int v = std::max(y - 1, 0); v <= std::min(y + 1, height - 1); ++v)
        for (int u = std::max(x - 1, 0); u <= std::min(x + 1, width - 1); ++u)
          near = near || b.at(u, v) != background;
      far += !near;
      ++all;
    }
  return {far, all};
}

LimitRules coloured_rules(int depth) {
  LimitRules rules{depth, INT64_MAX, LimitPlot::pixel, true, 0, {}};
  for (int k = 0; k < max_nested_circles; ++k) rules.colours[k] = static_cast<std::uint32_t>(k);
  return rules;
}

LimitCounts draw(const NestedDiscs& discs, const LimitRules& rules, const WorldFrame& frame,
                 Picture& picture, std::int64_t budget = INT64_MAX) {
  auto run = std::make_unique<LimitSetRun>();
  begin_limit_set(*run, discs, rules, frame, width, height);
  while (!limit_set_done(*run)) continue_limit_set(*run, picture.canvas(), budget);
  return run->counts;
}

// The frame magnified `zoom` times about a point the walk reaches.
WorldFrame zoomed(const WalkConfiguration& c, double zoom) {
  RandomGenerator random;
  seed_random(random, 5);
  WalkState state{c.start.x, c.start.y, no_previous};
  std::uint32_t spare = 0;
  inversion_walk(Canvas{&spare, 1, 1, 1}, walk_set(c), state,
                 {c.pick, c.inside, c.storage, 5000, no_burn_in, WalkPlot::pixel, 0}, c.frame, random);
  const double scale = c.frame.scale * zoom;
  const double row = c.frame.y_axis == YAxis::up ? height / 2.0 + state.y * scale
                                                 : height / 2.0 - state.y * scale;
  return {scale, width / 2.0 - state.x * scale, row, c.frame.y_axis};
}

}  // namespace

// Rows: the programs' configurations, then the tolerance's edges, an
// enclosing circle and bad counts and radii.
TEST(NestedDiscs, SaysWhichConfigurationsNest) {
  const char* refused[] = {"four_circle_packing", "soddy_radius_sweep pass 4"};
  for (const WalkConfiguration& c : walk_configurations()) {
    NestedDiscs discs;
    bool nests = true;
    for (const char* name : refused) nests = nests && c.name != name;
    EXPECT_EQ(nested_discs(c.circle, c.n, discs).fault == NestFault::none, nests) << c.name;
  }
  struct Row {
    std::vector<Circle> circles;
    NestFault fault;
    int outside;  // the circle whose disc is its outside, -1 for none, -2 for all
  };
  const Row rows[] = {
      {{{0, 0, 1}, {3, 0, 1}}, NestFault::none, -1},
      {{{0, 0, 1}, {0, 2, 1}}, NestFault::none, -1},                      // tangent
      {{{0, 0, 1}, {0, 2 - 0.0009, 1}}, NestFault::none, -1},             // within 0.1 %
      {{{0, 0, 1}, {0, 2 - 0.0011, 1}}, NestFault::overlap, -1},          // beyond it
      {{{0, 0, 1}, {5, 0, 100}}, NestFault::none, 1},                     // one inside another
      {{{0, 0, 1}, {5, 0, 5.5}}, NestFault::overlap, 1},                  // crossing it
      {{{0, 0, 3}, {1, 0, 2}, {-2, 0, 1}}, NestFault::none, 0},           // tangent inside
      {{{0, 0, 3}, {1, 0, 2}, {-2.5, 0, 1}}, NestFault::overlap, 0},      // crossing it
      {{{0, 0, 1}, {0.1, 0, 1}}, NestFault::overlap, -2},  // each holds the other's centre
      {{{0, 0, 1}}, NestFault::count, -1},
      {std::vector<Circle>(17, Circle{0, 0, 1}), NestFault::count, -1},
      {{{0, 0, 1}, {3, 0, 0}}, NestFault::radius, -1},
      {{{0, 0, 1}, {NAN, 0, 1}}, NestFault::radius, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &row - rows);
    NestedDiscs discs{};
    EXPECT_EQ(nested_discs(row.circles.data(), static_cast<int>(row.circles.size()), discs).fault,
              row.fault);
    if (row.fault == NestFault::none || row.fault == NestFault::overlap) {
      for (int k = 0; k < discs.n; ++k) EXPECT_EQ(discs.disc[k].outside, k == row.outside || row.outside == -2);
    }
  }
}

// At least 99 % of the walk's pixels after 10^7 steps lie within a pixel of
// the routine's, in the program's frame and magnified; the routine's pixels
// lie near the walk's at least half of them (it does not paint the discs
// whole; the walk's points come slowly near the points of contact), and each pixel
// coloured by a word's first circle lies in that circle's disc.
TEST(LimitSet, AgreesWithTheWalkOnTheProgramsConfigurations) {
  for (const WalkConfiguration& c : walk_configurations()) {
    NestedDiscs discs;
    if (nested_discs(c.circle, c.n, discs).fault != NestFault::none) continue;
    for (double zoom : {1.0, 30.0}) {
      SCOPED_TRACE(testing::Message() << c.name << " at " << zoom << " x");
      const WorldFrame frame = zoom == 1.0 ? c.frame : zoomed(c, zoom);
      WalkConfiguration walked = c;
      walked.frame = frame;
      Picture walk, limit;
      walk_pixels(walked, walk.canvas(), 10000000, 1, 0);
      const LimitCounts counts = draw(discs, coloured_rules(max_limit_depth), frame, limit);
      EXPECT_FALSE(counts.stopped);
      const auto [missed, walk_pixels] = far_from(walk, limit);
      const auto [unreached, limit_pixels] = far_from(limit, walk);
      EXPECT_GT(walk_pixels, 0);
      EXPECT_LE(missed, walk_pixels / 100) << walk_pixels << " walk pixels";
      // A walk comes slowly near the points of contact, but it does come.
      EXPECT_LE(unreached, limit_pixels / 2) << limit_pixels << " pixels drawn";
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          if (limit.at(x, y) == background) continue;
          const GeneralDisc& d = discs.disc[limit.at(x, y)];
          const double dx = (x + 0.5 - frame.origin_column) / frame.scale - d.x;
          const double dy = (frame.origin_row - y - 0.5) / frame.scale *
                                (frame.y_axis == YAxis::up ? 1 : -1) - d.y;
          const double reach = std::sqrt(dx * dx + dy * dy) - d.r;
          ASSERT_LE(d.outside ? -reach : reach, 1.5 / frame.scale) << x << ", " << y;
        }
    }
  }
}

// Three touching circles: their limit set is the circle through the three
// points of contact. Every pixel drawn lies on it, and every point of it has
// a pixel within one: the cusps at the points of contact lose nothing.
TEST(LimitSet, ThreeTouchingCirclesDrawTheCircleThroughTheirContacts) {
  const WalkConfiguration c = walk_configurations()[0];
  NestedDiscs discs;
  ASSERT_EQ(nested_discs(c.circle, 3, discs).fault, NestFault::none);
  Point p[3];
  for (int i = 0; i < 3; ++i) {
    const Circle& a = c.circle[i];
    const Circle& b = c.circle[(i + 1) % 3];
    const double t = a.r / (a.r + b.r);
    p[i] = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
  }
  const double d = 2 * (p[0].x * (p[1].y - p[2].y) + p[1].x * (p[2].y - p[0].y) +
                        p[2].x * (p[0].y - p[1].y));
  const auto q = [&](int i) { return p[i].x * p[i].x + p[i].y * p[i].y; };
  const double ux = (q(0) * (p[1].y - p[2].y) + q(1) * (p[2].y - p[0].y) + q(2) * (p[0].y - p[1].y)) / d;
  const double uy = (q(0) * (p[2].x - p[1].x) + q(1) * (p[0].x - p[2].x) + q(2) * (p[1].x - p[0].x)) / d;
  const double radius = std::hypot(p[0].x - ux, p[0].y - uy);
  Picture limit, circle;
  draw(discs, coloured_rules(max_limit_depth), c.frame, limit);
  for (int a = 0; a < 100000; ++a) {
    const double angle = 2 * M_PI * a / 100000;
    plot_clipped(circle.canvas(), frame_column(c.frame, ux + radius * std::cos(angle)),
                 frame_row(c.frame, uy + radius * std::sin(angle)), 0);
  }
  EXPECT_EQ(far_from(circle, limit).first, 0);
  EXPECT_EQ(far_from(limit, circle).first, 0);
}

// Continuations of any budget plot what one run plots; the depth bound cuts
// tangent circles' cusps, and the count of words stops a run.
TEST(LimitSet, AnySplitOfTheWorkPlotsTheSamePixels) {
  const WalkConfiguration c = walk_configurations()[0];  // three tangent circles
  NestedDiscs discs;
  ASSERT_EQ(nested_discs(c.circle, c.n, discs).fault, NestFault::none);
  Picture whole;
  const LimitCounts one = draw(discs, coloured_rules(24), c.frame, whole);
  EXPECT_GT(one.cut, 0);
  for (std::int64_t budget : {1, 2, 7, 1000}) {
    Picture split;
    const LimitCounts counts = draw(discs, coloured_rules(24), c.frame, split, budget);
    EXPECT_EQ(split.pixels, whole.pixels) << "budget " << budget;
    EXPECT_EQ(counts.words, one.words);
    EXPECT_EQ(counts.plotted, one.plotted);
  }
  LimitRules capped = coloured_rules(24);
  capped.words = one.words / 2;
  Picture part;
  const LimitCounts stopped = draw(discs, capped, c.frame, part);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.words, one.words / 2);
  EXPECT_LT(stopped.plotted, one.plotted);
}
