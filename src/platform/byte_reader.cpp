#include "platform/byte_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/failure.h"

namespace wcomp837 {
namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
}

ByteReader::ByteReader(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) RaiseErrno(errno);
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
    int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd_);
    fd_ = -1;
    RaiseErrno(err);
  }
  length_ = static_cast<std::int64_t>(st.st_size);
}

ByteReader::~ByteReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool ByteReader::AppendUntil(char delim, std::string& out) {
  for (;;) {
    if (next_ == buffer_.size() && !Fill()) return false;
    const char* begin = buffer_.data() + next_;
    std::size_t available = buffer_.size() - next_;
    const void* hit = std::memchr(begin, delim, available);
    std::size_t take =
        hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - begin) : available;
    out.append(begin, take);
    std::size_t consumed = hit ? take + 1 : take;
    next_ += consumed;
    position_ += static_cast<std::int64_t>(consumed);
    if (hit) return true;
  }
}

bool ByteReader::NextBlock(std::string_view& block) {
  if (next_ == buffer_.size() && !Fill()) return false;
  block = std::string_view(buffer_.data() + next_, buffer_.size() - next_);
  position_ += static_cast<std::int64_t>(block.size());
  next_ = buffer_.size();
  return true;
}

bool ByteReader::Fill() {
  buffer_.resize(kBlockSize);
  next_ = 0;
  for (;;) {
    ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      buffer_.clear();
      RaiseErrno(errno);
    }
    buffer_.resize(static_cast<std::size_t>(n));
    return n > 0;
  }
}

}  // namespace wcomp837
