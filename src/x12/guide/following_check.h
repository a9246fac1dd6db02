// The check of a claim file run while the file is being written: a thread of
// its own reads the file back as each block reaches it, so that the check is
// all but done when the batch ends. Its findings stand for the file only
// when the file at the name is still the one its writer closed, as it
// closed it, and the thread read all of it; otherwise the caller reads the
// file back. The thread starts when the first block reaches the file; a
// file written whole when it is closed (smaller than the writer's buffer)
// is read back, with no thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <thread>

#include "platform/files.h"
#include "platform/growing_file.h"
#include "x12/guide/check.h"

namespace wcomp837::guide {

class FollowingCheck final : public WriteWatcher {
 public:
  // Findings of the errors kept as text, the first `limit` ones.
  explicit FollowingCheck(std::size_t limit) : limit_(limit), findings_(limit) {}
  ~FollowingCheck() { Stop(); }
  FollowingCheck(const FollowingCheck&) = delete;
  FollowingCheck& operator=(const FollowingCheck&) = delete;

  // Follows the file just created at path (device, inode), whose writer
  // tells Reached; a check still running is stopped first. When no thread
  // can be started there is no check, and Finish answers nullptr.
  void Start(const std::string& path, std::uint64_t device, std::uint64_t inode);
  void Reached(std::uint64_t bytesInFile, bool closing) noexcept override;
  void Closed() noexcept override;
  // Ends the check once the file is written: its findings when they stand
  // for the file now at path, else nullptr. A second call answers nullptr.
  // The findings stay valid until the next Start.
  const FindingList* Finish(const std::string& path);
  // Ends the check without a result.
  void Stop() noexcept;

 private:
  static constexpr std::uint64_t kNotYet = std::numeric_limits<std::uint64_t>::max();
  void Launch() noexcept;
  void Run() noexcept;
  bool Follow();

  const std::size_t limit_;
  std::string path_;
  std::uint64_t device_ = 0;
  std::uint64_t inode_ = 0;
  bool armed_ = false;  // started, the thread not launched yet
  GrowingFile file_;    // read by the thread
  FileStamp closed_;    // the file as its writer closed it
  bool wasClosed_ = false;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  // Under mutex_: how far the writer has reached and the size the file has
  // at its end (kNotYet while it is written). stop_ (set under mutex_ too)
  // is also read between blocks.
  std::uint64_t reached_ = 0;
  std::uint64_t end_ = kNotYet;
  std::atomic<bool> stop_ = false;
  // The thread's outcome, read once it has been joined.
  FindingList findings_;
  bool complete_ = false;
  FileStamp read_;  // the file as it stood when read to its end
};

}  // namespace wcomp837::guide
