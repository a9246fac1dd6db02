#include "platform/write_behind.h"

#include <cerrno>
#include <utility>

namespace wcomp837 {

WriteBehind::~WriteBehind() {
  Await();
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool WriteBehind::Submit(WriteFn write, void* context, const char* data,
                         std::size_t size) noexcept {
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread(&WriteBehind::Run, this);
    } catch (...) {
      return false;
    }
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    write_ = write;
    context_ = context;
    data_ = data;
    size_ = size;
    result_ = 0;
    busy_ = true;
  }
  wake_.notify_all();
  return true;
}

int WriteBehind::Await() noexcept {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [this] { return !busy_; });
  return std::exchange(result_, 0);
}

void WriteBehind::Run() noexcept {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return busy_ || quit_; });
    if (busy_) {
      const WriteFn write = write_;
      void* const context = context_;
      const char* const data = data_;
      const std::size_t size = size_;
      lock.unlock();
      const int result = write(context, data, size);
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
