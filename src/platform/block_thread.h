// Runs one block's read or write at a time on a thread of its own, so that
// the thread working on the next block does not wait for the system's copy
// of this one.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace wcomp837 {

class BlockThread {
 public:
  // Reads or writes size bytes at data; answers 0, or the errno of the
  // failure. It runs on the block thread.
  using BlockFn = int (*)(void* context, char* data, std::size_t size) noexcept;

  BlockThread() = default;
  // Waits for the block in hand and ends the thread.
  ~BlockThread();
  BlockThread(const BlockThread&) = delete;
  BlockThread& operator=(const BlockThread&) = delete;

  // Hands a block over to be read or written by job(context, data, size);
  // the bytes must stay where they are until Await. The block handed over
  // before must have been awaited. False when no thread could be started:
  // nothing was handed over.
  bool Submit(BlockFn job, void* context, char* data, std::size_t size) noexcept;
  // Waits until the block in hand is done; its errno, 0 when it succeeded
  // or when there was none.
  int Await() noexcept;

 private:
  void Run() noexcept;

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  // Under mutex_: the block in hand, its outcome and whether to end.
  BlockFn job_ = nullptr;
  void* context_ = nullptr;
  char* data_ = nullptr;
  std::size_t size_ = 0;
  bool busy_ = false;
  bool quit_ = false;
  int result_ = 0;
};

}  // namespace wcomp837
