#include "query_string.h"

#include <algorithm>

namespace {

int hex_digit(char c) {
  return c >= '0' && c <= '9' ? c - '0'
         : c >= 'a' && c <= 'f' ? c - 'a' + 10
         : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                : -1;
}

std::string percent_decoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? hex_digit(text[i + 1]) : -1;
    const int low = high >= 0 ? hex_digit(text[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::vector<QueryPair> query_pairs(std::string_view query) {
  std::vector<QueryPair> pairs;
  while (!query.empty()) {
    const std::string_view pair = query.substr(0, query.find('&'));
    query.remove_prefix(std::min(pair.size() + 1, query.size()));
    if (pair.empty()) continue;
    const std::size_t equals = pair.find('=');
    pairs.push_back({percent_decoded(pair.substr(0, equals)),
                     equals == std::string_view::npos ? "" : percent_decoded(pair.substr(equals + 1))});
  }
  return pairs;
}
