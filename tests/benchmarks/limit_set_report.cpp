// limit_set_report: the limit set drawn word by word against long walks,
// for each of the programs' walk configurations at 800 x 600 in the
// program's frame. Per configuration and depth bound: the routine's pixels,
// words cut at the bound, and for each walk length the walk's pixels, those
// of them more than a pixel from the routine's, and the routine's pixels
// the walk never comes within a pixel of.
//
//   limit_set_report DEPTH[,DEPTH...] STEPS[,STEPS...] [NAME]
//
// With `cusp` it zooms instead into soddy_gasket's point of contact of
// circles 0 and 1, ZOOM times, and counts per depth bound the pixels of
// the limit set (the circle through the three points of contact) with no
// pixel of the routine's within one: what the cusp loses.
//
//   limit_set_report cusp DEPTH[,DEPTH...] ZOOM[,ZOOM...]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

#include "limit_set.h"
#include "walk_configurations.h"

namespace {

constexpr int width = 800, height = 600;
constexpr std::uint32_t background = 0xFFFFFF, ink = 0;

std::vector<long> numbers(const char* list) {
  std::vector<long> out;
  std::stringstream in(list);
  std::string item;
  while (std::getline(in, item, ',')) out.push_back(std::atol(item.c_str()));
  return out;
}

long far(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  return far_from(a, b, width, height, background).far;
}

long inked(const std::vector<std::uint32_t>& a) {
  long count = 0;
  for (std::uint32_t p : a) count += p != background;
  return count;
}

void cusp(const std::vector<long>& depths, const std::vector<long>& zooms, LimitSetRun& run) {
  const WalkConfiguration c = walk_configurations()[0];
  NestedDiscs discs;
  nested_discs(c.circle, c.n, discs);
  Point contact;
  const Circle limit = contact_circle(c, contact);
  for (long zoom : zooms) {
    const double scale = c.frame.scale * zoom;
    const WorldFrame frame{scale, width / 2.0 - contact.x * scale, height / 2.0 + contact.y * scale,
                           YAxis::up};
    std::vector<std::uint32_t> truth(width * height, background);
    plot_circle_points(Canvas{truth.data(), width, height, width}, frame, limit, 100000000, ink);
    for (long depth : depths) {
      std::vector<std::uint32_t> drawn(width * height, background);
      LimitRules rules{static_cast<int>(depth), INT64_MAX, LimitPlot::pixel, false, ink, {}, 0, {}};
      begin_limit_set(run, discs, rules, frame, width, height);
      continue_limit_set(run, Canvas{drawn.data(), width, height, width}, INT64_MAX);
      std::printf("soddy_gasket's contact at %ld x, depth %4ld: %5ld of the limit circle's %5ld "
                  "pixels with none drawn within a pixel; %lld words, %lld cut\n",
                  zoom, depth, far(truth, drawn), inked(truth),
                  static_cast<long long>(run.counts.words), static_cast<long long>(run.counts.cut));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: limit_set_report DEPTH[,DEPTH...] STEPS[,STEPS...] [NAME]\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  auto run = std::make_unique<LimitSetRun>();
  if (std::strcmp(argv[1], "cusp") == 0 && argc == 4) {
    cusp(numbers(argv[2]), numbers(argv[3]), *run);
    return 0;
  }
  const std::vector<long> depths = numbers(argv[1]), walks = numbers(argv[2]);
  for (const WalkConfiguration& c : walk_configurations()) {
    if (argc > 3 && c.name.find(argv[3]) == std::string::npos) continue;
    NestedDiscs discs;
    const NestCheck check = nested_discs(c.circle, c.n, discs);
    if (check.fault != NestFault::none) {
      std::printf("%-24s does not nest (circles %d and %d)\n", c.name.c_str(), check.first,
                  check.second);
      continue;
    }
    std::vector<std::vector<std::uint32_t>> walked;
    for (long steps : walks) {
      walked.emplace_back(width * height, background);
      walk_pixels(c, Canvas{walked.back().data(), width, height, width}, steps, 1, ink);
    }
    for (long depth : depths) {
      std::vector<std::uint32_t> drawn(width * height, background);
      LimitRules rules{static_cast<int>(depth), INT64_MAX, LimitPlot::pixel, false, ink, {}, 0, {}};
      begin_limit_set(*run, discs, rules, c.frame, width, height);
      continue_limit_set(*run, Canvas{drawn.data(), width, height, width}, INT64_MAX);
      std::printf("%-24s depth %4ld: %7ld pixels, %9lld words, %7lld cut, %7lld strayed\n", c.name.c_str(), depth,
                  inked(drawn), static_cast<long long>(run->counts.words),
                  static_cast<long long>(run->counts.cut),
                  static_cast<long long>(run->counts.strayed));
      for (std::size_t w = 0; w < walks.size(); ++w)
        std::printf("    walk %11ld steps: %7ld pixels, %6ld of them far from the routine's, "
                    "%6ld of the routine's far from the walk's\n",
                    walks[w], inked(walked[w]), far(walked[w], drawn),
                    far(drawn, walked[w]));
    }
  }
  return 0;
}
