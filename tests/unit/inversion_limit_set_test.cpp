// The limit set drawn word by word: which circles nest, the circle three
// touching circles make, and the same pixels whatever the budget of each
// continuation (its agreement with the walk on the programs' scenes is
// tests/scene/limit_set_layer_test.cpp).
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

FarPixels far_from(const Picture& a, const Picture& b) {
  return ::far_from(a.pixels, b.pixels, width, height, background);
}

LimitRules coloured_rules(int depth) {
  LimitRules rules{depth, INT64_MAX, LimitPlot::pixel, true, 0, {}, 0, {}};
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

// Three touching circles: their limit set is the circle through the three
// points of contact. Every pixel drawn lies on it, and every point of it has
// a pixel within one: the cusps at the points of contact lose nothing.
TEST(LimitSet, ThreeTouchingCirclesDrawTheCircleThroughTheirContacts) {
  const WalkConfiguration c = walk_configurations()[0];
  NestedDiscs discs;
  ASSERT_EQ(nested_discs(c.circle, 3, discs).fault, NestFault::none);
  Point contact;
  Picture limit, circle;
  draw(discs, coloured_rules(max_limit_depth), c.frame, limit);
  plot_circle_points(circle.canvas(), c.frame, contact_circle(c, contact), 100000, 0);
  EXPECT_EQ(far_from(circle, limit).far, 0);
  EXPECT_EQ(far_from(limit, circle).far, 0);
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
