// An unexpected failure: the number and description the host sees. The
// line-level classes throw it for a position outside their range.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "wcomp837/export.h"

namespace wcomp837 {

struct WCOMP837_API Failure : std::exception {
  Failure() = default;
  Failure(int number, std::string description)
      : number(number), description(std::move(description)) {}
  const char* what() const noexcept override { return description.c_str(); }

  int number = 0;
  std::string description;
};

}  // namespace wcomp837
