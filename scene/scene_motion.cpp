#include "scene_motion.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

namespace {

constexpr double ln2 = 0.6931471805599453;

// log and exp by their series, in +, -, * and / alone (frexp, ldexp and
// nearbyint are exact): the same bits in every C library. Accurate to a
// few units in the last place, which a motion's view does not need more.
double series_log(double x) {
  int exponent = 0;
  double m = std::frexp(x, &exponent);  // x = m 2^e, m in [0.5, 1)
  if (m < 0.7071067811865476) {
    m *= 2;
    exponent -= 1;
  }
  const double s = (m - 1) / (m + 1), s2 = s * s;  // |s| < 0.172
  double term = s, sum = 0;
  for (int k = 1; k < 40; k += 2, term *= s2) sum += term / k;
  return 2 * sum + exponent * ln2;
}

double series_exp(double y) {
  const double k = std::nearbyint(y / ln2);
  const double r = y - k * ln2;  // |r| < 0.35
  double term = 1, sum = 1;
  for (int n = 1; n < 25; ++n) {
    term = term * r / n;
    sum += term;
  }
  return std::ldexp(sum, static_cast<int>(k));
}

double between(double a, double b, double s) { return a + (b - a) * s; }

// The view at eased time s: the scale geometric in s; the centre moving so
// that the point both views show at the same pixel stays there, which at
// one scale (rho = 1) is a straight pan.
Viewport view_between(const Viewport& a, const Viewport& b, double s) {
  const double scale = a.scale * series_exp(s * series_log(b.scale / a.scale));
  const double rho = a.scale / b.scale;
  const double w = std::fabs(1 - rho) < 1e-9 ? s : (1 - a.scale / scale) / (1 - rho);
  return {between(a.x, b.x, w), between(a.y, b.y, w), scale};
}

std::string shown(const nlohmann::ordered_json& value) { return value.dump(); }

// One field of both scenes' JSON that must be equal: a problem otherwise.
void same_field(const nlohmann::ordered_json& a, const nlohmann::ordered_json& b, const std::string& path,
                const char* why, SceneErrors& errors) {
  if (a != b)
    errors.push_back({path, shown(a) + " in the first scene, " + shown(b) + " in the second; " + why});
}

}  // namespace

bool check_motion(const Scene& a, const Scene& b, int frames, SceneErrors& errors) {
  const std::size_t before = errors.size();
  if (frames < 2 || frames > max_motion_frames)
    errors.push_back({"frames", "a motion has 2 to " + std::to_string(max_motion_frames) + " frames, not " +
                                    std::to_string(frames)});
  const std::int64_t pixels = static_cast<std::int64_t>(a.width) * a.height * frames;
  if (frames >= 2 && pixels > max_motion_pixels)
    errors.push_back({"frames", std::to_string(frames) + " frames of " + std::to_string(a.width) + " x " +
                                    std::to_string(a.height) + " are more than " +
                                    std::to_string(max_motion_pixels) + " pixels in all"});
  nlohmann::ordered_json ja, jb;
  to_json(ja, a);
  to_json(jb, b);
  if (a.circle_count != b.circle_count)
    errors.push_back({"circles", std::to_string(a.circle_count) + " circles in the first scene, " +
                                     std::to_string(b.circle_count) + " in the second; a motion moves the same circles"});
  if (a.layer_count != b.layer_count)
    errors.push_back({"layers", std::to_string(a.layer_count) + " layers in the first scene, " +
                                    std::to_string(b.layer_count) + " in the second; a motion draws the same layers"});
  same_field(ja["numbers"], jb["numbers"], "numbers", "the circles' numbers cannot be moved", errors);
  for (int k = 0; k < a.layer_count && k < b.layer_count; ++k) {
    const std::string path = "layers[" + std::to_string(k) + "]";
    nlohmann::ordered_json &la = ja["layers"][k], &lb = jb["layers"][k];
    same_field(la["draw"], lb["draw"], path + ".draw", "a layer's kind cannot be moved", errors);
    same_field(la["circles"], lb["circles"], path + ".circles", "a layer's circles cannot be moved", errors);
    if (a.layers[k].kind == LayerKind::walk && b.layers[k].kind == LayerKind::walk)
      for (const char* rule : {"pick", "inside", "point"})
        same_field(la[rule], lb[rule], path + "." + rule, "a walk's rules cannot be moved", errors);
  }
  if (errors.size() != before) return false;
  // Every frame as a scene file is checked (a limit set's circles must
  // still nest, say), named by its number from 1.
  for (int f = 1; f + 1 < frames; ++f) {
    nlohmann::ordered_json json;
    to_json(json, motion_frame(a, b, f, frames));
    Scene checked;
    SceneErrors problems;
    if (!from_json(json, checked, problems)) {
      for (SceneError& problem : problems)
        errors.push_back({problem.field, "in frame " + std::to_string(f + 1) + " of " + std::to_string(frames) +
                                             ", " + problem.message});
      return false;
    }
  }
  return true;
}

Scene motion_frame(const Scene& a, const Scene& b, int frame, int frames) {
  Scene shown = a;
  const Scene end = resized_scene(b, a.width, a.height);
  if (frame == 0) return shown;
  if (frame >= frames - 1) {
    std::copy(end.circles, end.circles + end.circle_count, shown.circles);
    shown.view = end.view;
    return shown;
  }
  const double t = static_cast<double>(frame) / (frames - 1);
  const double s = t * t * (3 - 2 * t);  // eased: slow at both ends
  for (int k = 0; k < a.circle_count; ++k) {
    const Circle &from = a.circles[k], &to = end.circles[k];
    shown.circles[k] = {between(from.x, to.x, s), between(from.y, to.y, s), between(from.r, to.r, s)};
  }
  shown.view = view_between(a.view, end.view, s);
  return shown;
}
