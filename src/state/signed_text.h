// The signed text form of numbers and booleans in messages and log lines.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace wcomp837 {

// " 5", "-5".
inline std::string SignedText(std::int64_t value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}
// The same in a buffer of its own, for log lines and messages written in
// parts without building a string.
class Signed {
 public:
  explicit Signed(std::int64_t value) {
    char* begin = buf_ + 1;
    char* end = std::to_chars(begin, buf_ + sizeof buf_, value).ptr;
    if (value >= 0) *--begin = ' ';
    view_ = std::string_view(begin, static_cast<std::size_t>(end - begin));
  }
  operator std::string_view() const { return view_; }

 private:
  char buf_[24];
  std::string_view view_;
};

// A number's plain decimal digits in a buffer of their own.
class Digits {
 public:
  explicit Digits(std::int64_t value)
      : view_(buf_,
              static_cast<std::size_t>(std::to_chars(buf_, buf_ + sizeof buf_, value).ptr - buf_)) {
  }
  operator std::string_view() const { return view_; }

 private:
  char buf_[24];
  std::string_view view_;
};

// "True", "False".
inline std::string BoolText(bool value) {
  return value ? "True" : "False";
}
inline std::string_view BoolWord(bool value) {
  return value ? "True" : "False";
}

}  // namespace wcomp837
