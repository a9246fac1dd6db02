#include "platform/byte_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/failure.h"
#include "platform/files.h"

namespace wcomp837 {
namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
}

ByteReader::ByteReader(const std::string& path) {
  fd_ = OpenRegularFile(path, &length_);
}

ByteReader::ByteReader(const std::string& path, std::string& block) : block_(&block) {
  fd_ = OpenRegularFile(path, &length_);
}

ByteReader::~ByteReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool ByteReader::AppendUntil(char delim, std::string& out, std::size_t limit) {
  for (;;) {
    if (next_ == size_ && !Fill()) return false;
    const char* begin = buffer_ + next_;
    std::size_t available = size_ - next_;
    const void* hit = std::memchr(begin, delim, available);
    std::size_t take =
        hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - begin) : available;
    out.append(begin, std::min(take, limit - std::min(limit, out.size())));
    std::size_t consumed = hit ? take + 1 : take;
    next_ += consumed;
    position_ += static_cast<std::int64_t>(consumed);
    if (hit) return true;
  }
}

bool ByteReader::NextBlock(std::string_view& block) {
  if (next_ == size_ && !Fill()) return false;
  block = std::string_view(buffer_ + next_, size_ - next_);
  position_ += static_cast<std::int64_t>(block.size());
  next_ = size_;
  return true;
}

bool ByteReader::Fill() {
  if (buffer_ == nullptr) {
    const auto wanted = static_cast<std::uint64_t>(std::max<std::int64_t>(length_, 0)) + 1;
    capacity_ = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, kBlockSize));
    if (block_ != nullptr) {
      block_->resize(capacity_);
      buffer_ = block_->data();
    } else {
      owned_ = std::make_unique_for_overwrite<char[]>(capacity_);
      buffer_ = owned_.get();
    }
  }
  next_ = 0;
  size_ = 0;
  if (atEnd_) return false;
  for (;;) {
    ssize_t n = ::read(fd_, buffer_, capacity_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseErrno(errno);
    size_ = static_cast<std::size_t>(n);
    atEnd_ = size_ < capacity_;
    return n > 0;
  }
}

}  // namespace wcomp837
