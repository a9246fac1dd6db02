#include "platform/block_thread.h"

#include <cerrno>
#include <utility>

namespace wcomp837 {

BlockThread::~BlockThread() {
  Await();
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool BlockThread::Submit(BlockFn job, void* context, char* data, std::size_t size) noexcept {
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread(&BlockThread::Run, this);
    } catch (...) {
      return false;
    }
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = job;
    context_ = context;
    data_ = data;
    size_ = size;
    result_ = 0;
    busy_ = true;
  }
  wake_.notify_all();
  return true;
}

int BlockThread::Await() noexcept {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [this] { return !busy_; });
  return std::exchange(result_, 0);
}

void BlockThread::Run() noexcept {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return busy_ || quit_; });
    if (busy_) {
      const BlockFn job = job_;
      void* const context = context_;
      char* const data = data_;
      const std::size_t size = size_;
      lock.unlock();
      const int result = job(context, data, size);
      lock.lock();
      result_ = result;
      busy_ = false;
      wake_.notify_all();
    } else {
      return;  // quit_, with no block in hand
    }
  }
}

}  // namespace wcomp837
