// The signed text form of numbers and booleans in messages and log lines.
#pragma once

#include <cstdint>
#include <string>

namespace wcomp837 {

// " 5", "-5".
inline std::string SignedText(std::int64_t value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}
// "True", "False".
inline std::string BoolText(bool value) {
  return value ? "True" : "False";
}

}  // namespace wcomp837
