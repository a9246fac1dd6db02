// The fields of the current record key: one copy of the key's text and
// where each field stands in it, so that storing a key copies it once.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace wcomp837 {

class KeyFields {
 public:
  static constexpr std::size_t kCount = 11;

  // Field i (0 to 10); valid until the next Store.
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_).substr(at_[i].off, at_[i].len);
  }
  // Stores the fields cut from `key` (views into it). A key of fewer fields
  // replaces only the fields it has; the others keep their values.
  void Store(std::string_view key, std::span<const std::string_view> fields);
  // The stored key's text up to where its last field begins, when it had all
  // the fields (empty otherwise): a key that begins with it has the same
  // fields before the last one.
  std::string_view Leading() const { return std::string_view(text_).substr(0, leading_); }
  // Stores a key that begins with Leading(), not ending there; `rest` are
  // the fields cut from what follows (views into `key`).
  void StoreRest(std::string_view key, std::span<const std::string_view> rest);

 private:
  struct At {
    std::size_t off = 0;
    std::size_t len = 0;
  };
  std::string text_;
  std::array<At, kCount> at_{};
  std::size_t leading_ = 0;  // of text_, when the key had all the fields
};

}  // namespace wcomp837
