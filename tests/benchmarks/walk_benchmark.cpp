// walk_benchmark: the cost of one step of the random inversion walk, for
// each variant the programs use, through inversion_walk and through a bare
// loop that does the same picks from program_random, the inversion and the
// plot written inline, side by side on an in-memory 800 x 600 surface
// standing in for the window. At the end it prints walk time / bare time
// per variant.
//
// Each benchmark iteration runs a chunk of steps from where the last chunk
// ended, so after a warm-up chunk the point stays on the limit set and
// every step plots, as in the long walks of the programs. Both sides reseed
// program_random with the same value and follow the same orbit.
//
// Run by hand: walk_benchmark [--benchmark_repetitions=5 ...]
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "inversion.h"
#include "random_generator.h"
#include "raster_kit.h"

namespace {

constexpr long chunk = 4096;    // steps per benchmark iteration
constexpr long warm_up = 20000;  // steps before timing, past every burn-in

struct Variant {
  const char* name;
  WalkCircles circles;
  WalkState start;
  WalkRules rules;  // the program's burn-in; steps are set per chunk
  WorldFrame frame;
};

std::vector<Variant> variants;

// The circle sets of the programs, at one of their stages.
void build_variants() {
  const float sqrt3f = 1.7320508f;
  const double sqrt3 = 1.7320508075688772;

  {  // three tangent circles, plotted as radius-1 circles
    static const float x[3] = {0.0f, 0.0f, static_cast<float>(-sqrt3)};
    static const float y[3] = {0.0f, 2.0f, -1.0f};
    static const float r[3] = {static_cast<float>(2.0 - sqrt3), static_cast<float>(sqrt3),
                               static_cast<float>(sqrt3)};
    double r2[3];
    for (int k = 0; k < 3; ++k) r2[k] = r[k] * r[k];
    variants.push_back({"random3_ring1", walk_circles(x, y, r2, 3), {10.0, 3.0, 0},
                        {PickRule::random, InsideRule::invert, PointStorage::double_width,
                         0, 1001, WalkPlot::ring1, 0},
                        {200.0, 400.0, 300.0, YAxis::up}});
  }
  {  // five circles, every point a pixel
    const double a = 3.414213562373095, b = 2.414213562373095;
    const double x[5] = {a, 0, -a, 0, 0}, y[5] = {0, a, 0, -a, 0};
    const double r2[5] = {b * b, b * b, b * b, b * b, 5.82842712474619 * 5.82842712474619};
    variants.push_back({"random5_pixel", walk_circles(x, y, r2, 5), {3.0, 3.0, no_previous},
                        {PickRule::random, InsideRule::invert, PointStorage::double_width,
                         0, no_burn_in, WalkPlot::pixel, 0},
                        {5.0, 400.0, 300.0, YAxis::up}});
  }
  {  // a ring of fourteen circles in a unit circle, plotted as radius-1 circles
    const double s = std::sin(0.2243994752564138);
    const double rho = s / (1 + s);
    double x[15], y[15], r2[15];
    for (int j = 0; j < 14; ++j) {
      const double theta = (2 * j * 3.141592653589793) / 14;
      x[j] = std::cos(theta) * (1 - rho);
      y[j] = std::sin(theta) * (1 - rho);
      r2[j] = rho * rho;
    }
    x[14] = y[14] = 0.0;
    r2[14] = 1.0;
    variants.push_back({"random15_ring1", walk_circles(x, y, r2, 15), {3.0, 3.0, no_previous},
                        {PickRule::random, InsideRule::invert, PointStorage::double_width,
                         0, 10001, WalkPlot::ring1, 0},
                        {10.0, 400.0, 300.0, YAxis::up}});
  }
  {  // four circles, the walk point stored as floats, y down
    static const float x[4] = {0.0f, -1.4f, 1.71f, 0.0f};
    static const float y[4] = {0.1f, 0.0f, -0.198f, 2.5f};
    static const float r[4] = {0.405f, 1.0f, 1.33f, 1.865f};
    variants.push_back({"random4_float_pixel", walk_circles_squaring(x, y, r, 4), {0.0, -5.0, 0},
                        {PickRule::random, InsideRule::invert, PointStorage::float_width,
                         0, 1001, WalkPlot::pixel, 0},
                        {230.0, 380.0, 150.0, YAxis::down}});
  }
  {  // two circles taken in turn, plotted as radius-2 circles
    static const float x[2] = {0.0f, 0.0f}, y[2] = {-2.0f, 2.2f}, r[2] = {1.2f, 2.9f};
    double r2[2];
    for (int k = 0; k < 2; ++k) r2[k] = r[k] * r[k];
    variants.push_back({"cyclic2_ring2", walk_circles(x, y, r2, 2), {3.0, 3.0, no_previous},
                        {PickRule::cyclic, InsideRule::invert, PointStorage::double_width, 0, 10,
                         WalkPlot::ring2, 0},
                        {200.0, 400.0, 200.0, YAxis::up}});
  }
  {  // three outer circles and a central one of radius (2 - sqrt(3)) + 0.5: picks refused
    static const float x[4] = {0.0f, 0.0f, -sqrt3f, sqrt3f};
    static const float y[4] = {0.0f, 2.0f, -1.0f, -1.0f};
    static const float r[4] = {static_cast<float>(0.5 + 0.2679491924311228), sqrt3f, sqrt3f,
                               sqrt3f};
    double r2[4];
    for (int k = 0; k < 4; ++k) r2[k] = r[k] * r[k];
    variants.push_back({"random4_reject_pixel", walk_circles(x, y, r2, 4), {10.0, 3.0, 0},
                        {PickRule::random, InsideRule::refuse,
                         PointStorage::double_width, 0, 1, WalkPlot::pixel, 0},
                        {120.0, 400.0, 300.0, YAxis::up}});
  }
}

// The first walk runs with the program's burn-in, so no point off the limit
// set is plotted; after it every step plots.
WalkRules walk_rules(const Variant& v, bool first) {
  WalkRules rules = v.rules;
  rules.steps = first ? warm_up : chunk;
  if (!first) rules.burn_in = no_burn_in;
  rules.colour = colour_red;
  return rules;
}

void set_counters(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * chunk);
  state.counters["per_step"] =
      benchmark::Counter(chunk, benchmark::Counter::kIsIterationInvariantRate |
                                    benchmark::Counter::kInvert);
}

void library_walk(benchmark::State& state, const Variant& v) {
  const WalkRules rules = walk_rules(v, false);
  seed_random(program_random, 1);
  WalkState walker = v.start;
  inversion_walk(v.circles, walker, walk_rules(v, true), v.frame);
  long refused = 0;
  for (auto _ : state) {
    refused += inversion_walk(v.circles, walker, rules, v.frame).refused;
    benchmark::DoNotOptimize(walker);
  }
  set_counters(state);
  if (rules.inside == InsideRule::refuse)
    state.counters["refused_per_step"] =
        static_cast<double>(refused) / static_cast<double>(state.iterations() * chunk);
}

// The walk as one loop with nothing in the way: pick, (refuse,) invert, plot.
// It draws from a local copy of program_random, as the walk does.
template <bool cyclic, bool reject, bool float_point, WalkPlot plot>
void bare_walk(const Variant& v, double& x, double& y, int& previous, long steps, long burn_in,
               Uint32 colour) {
  const WalkCircles& c = v.circles;
  const double scale = v.frame.scale;
  const double ox = v.frame.origin_column;
  const double oy = v.frame.origin_row;
  const double row_scale = v.frame.y_axis == YAxis::up ? -scale : scale;
  static constexpr CircleStamp ring = circle_stamp(plot == WalkPlot::ring2 ? 2 : 1);
  RandomGenerator random = program_random;
  for (long s = 0; s < steps; ++s) {
    int k;
    double dx, dy, d2;
    for (;;) {
      if constexpr (cyclic) {
        k = static_cast<int>(s % c.n);
      } else {
        do k = next_random(random) % c.n;
        while (k == previous);
      }
      dx = x - c.x[k];
      dy = y - c.y[k];
      d2 = dx * dx + dy * dy;
      if (!reject || !(c.R2[k] > d2)) break;
    }
    const double nx = c.x[k] + dx * c.R2[k] / d2;
    const double ny = c.y[k] + dy * c.R2[k] / d2;
    previous = k;
    if (s >= burn_in) {
      const int column = static_cast<int>(ox + nx * scale);
      const int row = static_cast<int>(oy + ny * row_scale);
      if constexpr (plot == WalkPlot::pixel)
        put_pixel(column, row, colour);
      else
        draw_stamp(ring, column, row, colour);
    }
    if constexpr (float_point) {
      // GCC 12 can drop this round trip when it vectorises the pair;
      // same_orbits below would then stop the benchmark.
      x = static_cast<float>(nx);
      y = static_cast<float>(ny);
    } else {
      x = nx;
      y = ny;
    }
  }
  program_random = random;
}

// `steps` steps of the bare loop from the start of the variant, with its
// burn-in; the walk point stays in doubles of float value where the variant
// keeps floats.
template <bool cyclic, bool reject, bool float_point, WalkPlot plot>
WalkState bare_walk_from_start(const Variant& v, long steps) {
  WalkState end = v.start;
  if constexpr (float_point) {
    end.x = static_cast<float>(end.x);
    end.y = static_cast<float>(end.y);
  }
  bare_walk<cyclic, reject, float_point, plot>(v, end.x, end.y, end.previous, steps,
                                               v.rules.burn_in, colour_red);
  return end;
}

template <bool cyclic, bool reject, bool float_point, WalkPlot plot>
void bare_loop(benchmark::State& state, const Variant& v) {
  seed_random(program_random, 1);
  WalkState walker = bare_walk_from_start<cyclic, reject, float_point, plot>(v, warm_up);
  for (auto _ : state) {
    bare_walk<cyclic, reject, float_point, plot>(v, walker.x, walker.y, walker.previous, chunk,
                                                 no_burn_in, colour_red);
    benchmark::DoNotOptimize(walker);
  }
  set_counters(state);
}

struct Bare {
  void (*loop)(benchmark::State&, const Variant&);
  WalkState (*from_start)(const Variant&, long);
};

template <bool cyclic, bool reject, bool float_point, WalkPlot plot>
constexpr Bare bare = {bare_loop<cyclic, reject, float_point, plot>,
                       bare_walk_from_start<cyclic, reject, float_point, plot>};

// The bare loop of each variant, in the order of build_variants.
const Bare bare_loops[] = {
    bare<false, false, false, WalkPlot::ring1>,
    bare<false, false, false, WalkPlot::pixel>,
    bare<false, false, false, WalkPlot::ring1>,
    bare<false, false, true, WalkPlot::pixel>,
    bare<true, false, false, WalkPlot::ring2>,
    bare<false, true, false, WalkPlot::pixel>,
};

// The comparison is fair only if both loops do the same work: from one seed
// they must end on the same point with the same previous index.
bool same_orbits() {
  bool same = true;
  for (std::size_t i = 0; i < variants.size(); ++i) {
    const Variant& v = variants[i];
    seed_random(program_random, 1);
    WalkState walk_end = v.start;
    inversion_walk(v.circles, walk_end, walk_rules(v, true), v.frame);
    seed_random(program_random, 1);
    const WalkState bare_end = bare_loops[i].from_start(v, warm_up);
    if (walk_end.x != bare_end.x || walk_end.y != bare_end.y ||
        walk_end.previous != bare_end.previous) {
      std::printf("%s: the walk ends at (%.17g, %.17g) after %d, the bare loop at (%.17g, %.17g) "
                  "after %d\n",
                  v.name, walk_end.x, walk_end.y, walk_end.previous, bare_end.x, bare_end.y,
                  bare_end.previous);
      same = false;
    }
  }
  return same;
}

// The console output, then walk / bare per variant from the CPU time of the
// median (or the only) run of each: other processes on the machine then
// disturb the ratio less than they would the wall-clock time.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      if (single || run.aggregate_name == "median")
        times_[run.run_name.function_name] = run.GetAdjustedCPUTime() * 1000.0 / chunk;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-22s %12s %12s %8s\n", "variant", "walk ns/step", "bare ns/step", "ratio");
    for (const Variant& v : variants) {
      const auto walk = times_.find(std::string("walk/") + v.name);
      const auto bare = times_.find(std::string("bare/") + v.name);
      if (walk == times_.end() || bare == times_.end()) continue;
      std::printf("%-22s %12.2f %12.2f %8.3f\n", v.name, walk->second, bare->second,
                  walk->second / bare->second);
    }
  }

 private:
  std::map<std::string, double> times_;  // CPU ns per step, by benchmark name
};

}  // namespace

int main(int argc, char** argv) {
  screen = SDL_CreateRGBSurface(SDL_SWSURFACE, window_width, window_height, 32, 0x00FF0000,
                                0x0000FF00, 0x000000FF, 0);
  if (screen == nullptr) return 1;
  colour_white = map_colour(255, 255, 255);
  colour_red = map_colour(255, 0, 0);
  SDL_FillRect(screen, nullptr, colour_white);

  build_variants();
  if (!same_orbits()) return 1;
  for (std::size_t i = 0; i < variants.size(); ++i) {
    const Variant& v = variants[i];
    benchmark::RegisterBenchmark((std::string("walk/") + v.name).c_str(), library_walk, v)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("bare/") + v.name).c_str(), bare_loops[i].loop, v)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  SDL_FreeSurface(screen);
  return 0;
}
