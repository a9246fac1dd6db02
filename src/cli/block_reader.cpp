#include "cli/block_reader.h"

#include <cerrno>

namespace wcomp837::cli {

BlockReader::BlockReader(std::istream& in, std::size_t block, bool ahead) : in_(in), block_(block) {
  slots_[0].bytes.resize(block);
  if (!ahead) return;
  slots_[1].bytes.resize(block);
  try {
    thread_ = std::thread(&BlockReader::Run, this);
  } catch (...) {
    // No thread: every block is read when it is asked for.
  }
}

BlockReader::~BlockReader() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void BlockReader::Fill(std::istream& in, Slot& slot) {
  errno = 0;
  try {
    in.read(slot.bytes.data(), static_cast<std::streamsize>(slot.bytes.size()));
    slot.got = static_cast<std::size_t>(in.gcount());
    slot.err = errno;
  } catch (...) {
    // Only a stream told to throw gets here: the read failed.
    slot.got = 0;
    slot.err = EIO;
  }
}

std::string_view BlockReader::Next(int& err) {
  if (!thread_.joinable()) {
    Fill(in_, slots_[0]);
    err = slots_[0].err;
    return std::string_view(slots_[0].bytes.data(), slots_[0].got);
  }
  if (taken_ > 0) {
    // The block handed out last is given back for the thread to fill.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      slots_[(taken_ - 1) % 2].full = false;
    }
    wake_.notify_all();
  }
  Slot& slot = slots_[taken_ % 2];
  {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock, [&] { return slot.full || finished_; });
    if (!slot.full) {
      err = 0;  // asked again after the last block
      return {};
    }
  }
  ++taken_;
  err = slot.err;
  return std::string_view(slot.bytes.data(), slot.got);
}

void BlockReader::Run() noexcept {
  for (std::size_t n = 0;; ++n) {
    Slot& slot = slots_[n % 2];
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return !slot.full || stop_; });
      if (stop_) return;
    }
    Fill(in_, slot);
    const bool last = slot.got < block_;  // the end, or a failed read
    {
      std::lock_guard<std::mutex> lock(mutex_);
      slot.full = true;
      finished_ = last;
    }
    wake_.notify_all();
    if (last) return;
  }
}

}  // namespace wcomp837::cli
