// Printing state of the current report.
#pragma once

#include <cstdint>
#include <string>

namespace wcomp837 {

struct PrintState {
  std::int16_t giLineWidth = 135;
  std::string gsPrintLine;
  std::int64_t giPageNumber = 0;
  std::string selected_printer;  // chosen by message 7; empty = the default
};

}  // namespace wcomp837
