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
