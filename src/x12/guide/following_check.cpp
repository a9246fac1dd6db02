#include "x12/guide/following_check.h"

#include <algorithm>
#include <memory>

#include "x12/guide/checker.h"

namespace wcomp837::guide {
namespace {
constexpr std::size_t kBlock = 64 * 1024;
}  // namespace

void FollowingCheck::Start(const std::string& path, std::uint64_t device, std::uint64_t inode) {
  Stop();
  path_ = path;
  device_ = device;
  inode_ = inode;
  reached_ = 0;
  end_ = kNotYet;
  stop_ = false;
  findings_ = FindingList(limit_);
  complete_ = false;
  wasClosed_ = false;
  armed_ = true;
}

void FollowingCheck::Launch() noexcept {
  armed_ = false;
  if (!file_.Open(path_, device_, inode_)) return;
  try {
    thread_ = std::thread(&FollowingCheck::Run, this);
  } catch (...) {
    file_.Close();  // no thread: the file is read back at the end instead
  }
}

void FollowingCheck::Reached(std::uint64_t bytesInFile, bool closing) noexcept {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    reached_ = bytesInFile;
  }
  if (!armed_) {
    wake_.notify_one();
  } else if (!closing) {
    Launch();
  } else {
    armed_ = false;  // written whole at its close: read back at the end
  }
}

void FollowingCheck::Closed() noexcept {
  wasClosed_ = file_.Stamp(closed_);
}

void FollowingCheck::Stop() noexcept {
  armed_ = false;
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  file_.Close();
}

const FindingList* FollowingCheck::Finish(const std::string& path) {
  if (!thread_.joinable()) return nullptr;
  FileStamp now;
  const bool same = wasClosed_ && path == path_ && StampOf(path, now) && now == closed_;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (same) {
      end_ = now.size;
    } else {
      stop_ = true;
    }
  }
  wake_.notify_one();
  thread_.join();
  file_.Close();
  // The file as its writer left it, read to its end, and unchanged while the
  // last bytes were read: the check saw what reading it back now would see.
  return same && complete_ && read_ == now ? &findings_ : nullptr;
}

void FollowingCheck::Run() noexcept {
  try {
    complete_ = Follow();
  } catch (...) {
    complete_ = false;  // the file is read back at the end instead
  }
}

// Reads and checks the file as far as the writer has reached, waiting for
// more, until its end is known; true when it was checked to that end.
bool FollowingCheck::Follow() {
  Checker checker(findings_, CheckOptions{});
  const auto block = std::make_unique_for_overwrite<char[]>(kBlock);
  std::uint64_t at = 0;
  for (;;) {
    std::uint64_t until = 0;
    bool last = false;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return stop_ || reached_ > at || end_ != kNotYet; });
      if (stop_) return false;
      last = end_ != kNotYet;
      until = last ? end_ : reached_;
    }
    if (until < at) return false;  // the file was cut shorter than what was read
    while (at < until) {
      if (stop_.load(std::memory_order_relaxed)) return false;
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, until - at));
      const std::ptrdiff_t got = file_.ReadAt(at, block.get(), want);
      if (got <= 0) return false;
      checker.Feed(std::string_view(block.get(), static_cast<std::size_t>(got)));
      at += static_cast<std::uint64_t>(got);
    }
    if (last) {
      checker.Finish();
      return file_.Stamp(read_);
    }
  }
}

}  // namespace wcomp837::guide
