#include "frame_times.h"

namespace {

constexpr std::size_t film_from = 10;  // this many pictures or more play as a film
constexpr int film_frame_ms = 160;
constexpr int step_frame_ms = 1000;
constexpr int first_held_ms = 1000;
constexpr int last_held_ms = 2000;

}  // namespace

std::vector<int> frame_times_ms(std::size_t count) {
  std::vector<int> times(count, count >= film_from ? film_frame_ms : step_frame_ms);
  if (count >= 2) {
    times.front() = first_held_ms;
    times.back() = last_held_ms;
  }
  return times;
}
