// Claim file state shared per thread: the open claim file and the segment
// count of the open transaction set.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace wcomp837 {

struct WriterState {
  OutFile ASCIIFile;              // the claim file; closed when not open
  std::int64_t SegmentCount = 0;  // segments of the open transaction set
  std::string segment;            // the segment being written (its buffer is reused)
};

}  // namespace wcomp837
