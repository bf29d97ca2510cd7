// A link's query string as its key=value pairs, in order, each key and
// value percent-decoded (%41 is 'A'; a '%' not followed by two hex digits
// stays as it is, and '+' stays '+'). Empty pairs are skipped; a pair
// without '=' has an empty value. The explorer's links and the scenes'
// compact form are both read through it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct QueryPair {
  std::string key;
  std::string value;
};

std::vector<QueryPair> query_pairs(std::string_view query);
