// An unexpected failure: the number and description the host sees.
#pragma once

#include <string>

namespace wcomp837 {

struct Failure {
  int number = 0;
  std::string description;
};

}  // namespace wcomp837
