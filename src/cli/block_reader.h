// Reads a stream in blocks. Reading ahead, a thread of its own reads the next
// block while the caller works on the last one, so that the caller does not
// wait for the system's copies; otherwise (or when no thread can be started)
// each block is read when it is asked for.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <istream>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace wcomp837::cli {

class BlockReader {
 public:
  // Read ahead only where a read never waits for long (a regular file): the
  // reader is waited for when the caller stops early.
  BlockReader(std::istream& in, std::size_t block, bool ahead);
  // Waits for the block being read, if any, and ends the thread.
  ~BlockReader();
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // The next block: fewer bytes than a block at the end of the stream or
  // after a failed read, with the errno that read left in err (0 when it left
  // none). The bytes stay until the next call. The stream is the reader's
  // until the BlockReader ends.
  std::string_view Next(int& err);

 private:
  struct Slot {
    std::vector<char> bytes;
    std::size_t got = 0;
    int err = 0;
    bool full = false;  // under mutex_ while the thread runs
  };
  static void Fill(std::istream& in, Slot& slot);
  void Run() noexcept;

  std::istream& in_;
  const std::size_t block_;
  Slot slots_[2];
  std::size_t taken_ = 0;  // blocks handed to the caller
  bool stop_ = false;      // under mutex_: the thread is to end
  bool finished_ = false;  // under mutex_: the thread has read its last block
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};

}  // namespace wcomp837::cli
