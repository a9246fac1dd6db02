#include "state/key_fields.h"

#include <algorithm>

namespace wcomp837 {

void KeyFields::Store(std::string_view key, std::span<const std::string_view> fields) {
  const std::size_t n = std::min(fields.size(), kCount);
  if (n < kCount) {
    // The kept fields follow the new key in a text of their own.
    thread_local std::string joined;
    joined.assign(key);
    for (std::size_t i = n; i < kCount; ++i) {
      const std::string_view kept = (*this)[i];
      at_[i] = At{joined.size(), kept.size()};
      joined.append(kept);
    }
    text_.swap(joined);
  } else {
    text_.assign(key);
  }
  for (std::size_t i = 0; i < n; ++i) {
    at_[i] = At{static_cast<std::size_t>(fields[i].data() - key.data()), fields[i].size()};
  }
  leading_ = n == kCount ? at_[kCount - 1].off : 0;
}

void KeyFields::StoreRest(std::string_view key, std::span<const std::string_view> rest) {
  text_.assign(key);
  at_[kCount - 1] = At{static_cast<std::size_t>(rest[0].data() - key.data()), rest[0].size()};
}

}  // namespace wcomp837
