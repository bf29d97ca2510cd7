// A whole number as the suite's commands and links take one: decimal
// digits alone (no sign, no space, nothing after), from low to high.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

inline bool whole_number(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t& value) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return false;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && value >= low && value <= high;
}

// The clocks the programs seed with, as an unsigned 32-bit number where 0
// and 1 seed alike: 1 to largest_clock each draw their own pictures. The
// export, the render command and the links read a clock here; the shell's
// front doors check only its form.
constexpr std::int64_t largest_clock = 4294967295;

inline bool clock_number(std::string_view text, std::uint32_t& clock) {
  std::int64_t value = 0;
  if (!whole_number(text, 1, largest_clock, value)) return false;
  clock = static_cast<std::uint32_t>(value);
  return true;
}
