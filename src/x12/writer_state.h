// Claim file state shared per thread: the open claim file, the check that
// follows it, and the segment count of the open transaction set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/files.h"
#include "x12/guide/following_check.h"

namespace wcomp837 {

// Errors of the claim file's final check reported one by one; the rest are
// counted.
constexpr std::size_t kCheckMessages = 100;

struct WriterState {
  // Declared before the file it follows, so that it outlives it.
  std::unique_ptr<guide::FollowingCheck> check;
  OutFile ASCIIFile;              // the claim file; closed when not open
  std::int64_t SegmentCount = 0;  // segments of the open transaction set
  std::string segment;            // the segment being written (its buffer is reused)
};

}  // namespace wcomp837
