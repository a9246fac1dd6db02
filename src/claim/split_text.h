// Cutting the small list texts of a service line (adjustment codes, drug
// codes) into their parts.
#pragma once

#include <string_view>
#include <vector>

namespace wcomp837 {

// Every part between separators: "" gives no part, "a|b|" gives "a", "b", "".
inline std::vector<std::string_view> SplitAt(std::string_view text, char sep) {
  std::vector<std::string_view> parts;
  if (text.empty()) return parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t pos = text.find(sep, start);
    if (pos == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

}  // namespace wcomp837
