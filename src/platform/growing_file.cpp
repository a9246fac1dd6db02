#include "platform/growing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace wcomp837 {
namespace {

bool StampFrom(const struct stat& st, FileStamp& stamp) {
  if (!S_ISREG(st.st_mode)) return false;
  stamp.device = static_cast<std::uint64_t>(st.st_dev);
  stamp.inode = static_cast<std::uint64_t>(st.st_ino);
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.modifiedSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  stamp.modifiedNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
  stamp.changedSeconds = static_cast<std::int64_t>(st.st_ctim.tv_sec);
  stamp.changedNanoseconds = static_cast<std::int64_t>(st.st_ctim.tv_nsec);
  return true;
}

}  // namespace

bool StampOf(const std::string& path, FileStamp& stamp) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && StampFrom(st, stamp);
}

GrowingFile::~GrowingFile() {
  Close();
}

void GrowingFile::Close() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool GrowingFile::Open(const std::string& path, std::uint64_t device, std::uint64_t inode) {
  Close();
  // O_NONBLOCK: a pipe or device planted at the name never makes the open wait.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  FileStamp stamp;
  if (fd_ >= 0 && Stamp(stamp) && stamp.device == device && stamp.inode == inode) return true;
  Close();
  return false;
}

std::ptrdiff_t GrowingFile::ReadAt(std::uint64_t offset, char* to, std::size_t size) {
  if (fd_ < 0) return -1;
  for (;;) {
    const ssize_t n = ::pread(fd_, to, size, static_cast<off_t>(offset));
    if (n >= 0) return n;
    if (errno != EINTR) return -1;
  }
}

bool GrowingFile::Stamp(FileStamp& stamp) const {
  struct stat st {};
  return fd_ >= 0 && ::fstat(fd_, &st) == 0 && StampFrom(st, stamp);
}

}  // namespace wcomp837
