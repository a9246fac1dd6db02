// Reads a stream in blocks. Reading ahead, a thread of its own reads the next
// block while the caller works on the last one, so that the caller does not
// wait for the system's copies; otherwise (or when no thread can be started)
// each block is read when it is asked for.
#pragma once

#include <cstddef>
#include <istream>
#include <string_view>
#include <vector>

#include "platform/block_thread.h"

namespace wcomp837::cli {

class BlockReader {
 public:
  // Read ahead only where a read never waits for long (a regular file): the
  // block being read is waited for when the caller stops early.
  BlockReader(std::istream& in, std::size_t block, bool ahead);
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // The next block: fewer bytes than a block at the end of the stream or
  // after a failed read, with the errno that read left in err (0 when it left
  // none). The bytes stay until the next call. The stream is the reader's
  // until the BlockReader ends.
  std::string_view Next(int& err);

 private:
  static int Read(void* reader, char* data, std::size_t size) noexcept;

  std::istream& in_;
  std::vector<char> blocks_[2];  // the one handed out and the one read ahead
  std::size_t current_ = 0;      // the block the next call hands out
  std::size_t got_ = 0;          // bytes the last read gave
  bool ahead_ = false;
  bool inFlight_ = false;  // blocks_[current_] is being read by the thread
  // Last, so that it ends (waiting for the block in hand) before the rest.
  BlockThread thread_;
};

}  // namespace wcomp837::cli
