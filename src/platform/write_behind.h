// Writes one block at a time on a thread of its own, so that the thread
// filling the next block does not wait while the system takes the last one.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace wcomp837 {

class WriteBehind {
 public:
  // Writes size bytes of data; answers 0, or the errno of the failure. It
  // runs on the writing thread.
  using WriteFn = int (*)(void* context, const char* data, std::size_t size) noexcept;

  WriteBehind() = default;
  // Waits for the block in hand and ends the thread.
  ~WriteBehind();
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  // Hands a block over to be written by write(context, data, size); the
  // bytes must stay where they are until Await. The block handed over
  // before must have been awaited. False when no thread could be started:
  // nothing was handed over.
  bool Submit(WriteFn write, void* context, const char* data, std::size_t size) noexcept;
  // Waits until the block in hand is written; its errno, 0 when it was
  // written or when there was none.
  int Await() noexcept;

 private:
  void Run() noexcept;

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  // Under mutex_: the block in hand, its outcome and whether to end.
  WriteFn write_ = nullptr;
  void* context_ = nullptr;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  bool busy_ = false;
  bool quit_ = false;
  int result_ = 0;
};

}  // namespace wcomp837
