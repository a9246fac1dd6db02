#include "cli/block_reader.h"

#include <cerrno>

namespace wcomp837::cli {

BlockReader::BlockReader(std::istream& in, std::size_t block, bool ahead) : in_(in) {
  blocks_[0].resize(block);
  if (!ahead) return;
  blocks_[1].resize(block);
  // The first block is read at once; without a thread, each when asked for.
  inFlight_ = thread_.Submit(&Read, this, blocks_[0].data(), block);
  ahead_ = inFlight_;
}

int BlockReader::Read(void* reader, char* data, std::size_t size) noexcept {
  BlockReader& self = *static_cast<BlockReader*>(reader);
  errno = 0;
  try {
    self.in_.read(data, static_cast<std::streamsize>(size));
    self.got_ = static_cast<std::size_t>(self.in_.gcount());
    return errno;
  } catch (...) {
    // Only a stream told to throw gets here: the read failed.
    self.got_ = 0;
    return EIO;
  }
}

std::string_view BlockReader::Next(int& err) {
  std::vector<char>& block = blocks_[current_];
  if (inFlight_) {
    err = thread_.Await();
    inFlight_ = false;
  } else {
    err = Read(this, block.data(), block.size());
  }
  const std::string_view bytes(block.data(), got_);
  // The next block is read while this one is worked on; nothing follows the
  // end or a failed read.
  if (ahead_ && got_ == block.size()) {
    current_ ^= 1;
    std::vector<char>& next = blocks_[current_];
    inFlight_ = thread_.Submit(&Read, this, next.data(), next.size());
    ahead_ = inFlight_;
  }
  return bytes;
}

}  // namespace wcomp837::cli
