#include "platform/files.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <mutex>
#include <utility>

#include "platform/failure.h"

namespace wcomp837 {
namespace {
std::mutex g_settings_mutex;
std::optional<std::string> g_component_folder;
std::optional<std::string> g_override_path;
WriteFault g_write_fault;

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

int InjectedFault(const std::string& path) {
  WriteFault fault;
  {
    std::lock_guard<std::mutex> lock(g_settings_mutex);
    fault = g_write_fault;
  }
  return fault ? fault(path) : 0;
}

// How often a name that reappears between deleting it and creating the new
// file (a link someone keeps planting) is deleted again before giving up.
constexpr int kCreateAttempts = 8;

// Deletes what stands at the name and creates a new, empty file there.
// O_EXCL never follows a link and fails when anything took the name in
// between, so the descriptor always belongs to a file made here.
int CreateFresh(const std::string& path) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  // A name that does not exist yet costs no deletion.
  int fd = ::open(path.c_str(), kFlags, 0644);
  for (int attempt = 1; fd < 0 && errno == EEXIST && attempt <= kCreateAttempts; ++attempt) {
    ::unlink(path.c_str());
    fd = ::open(path.c_str(), kFlags, 0644);
  }
  return fd;
}

// Opens a file for appending when it is missing (created) or is a regular
// file of the running user with no second name; raises the failure for
// anything else. O_NONBLOCK keeps a pipe in its place from blocking the open.
// st is what the open file is.
int OpenForAppending(const std::string& path, struct stat& st) {
  constexpr int kFlags = O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  const int fd = ::open(path.c_str(), kFlags, 0644);
  if (fd < 0) return fd;
  int err = 0;
  if (::fstat(fd, &st) != 0) {
    err = errno;
  } else if (!S_ISREG(st.st_mode) || st.st_nlink != 1) {
    err = EINVAL;
  } else if (st.st_uid != ::geteuid()) {
    err = EACCES;
  } else {
    // Of the flags the file was opened with, only O_APPEND and O_NONBLOCK
    // can be changed: O_APPEND stays, O_NONBLOCK goes.
    if (::fcntl(fd, F_SETFL, O_APPEND) == -1) err = errno;
  }
  if (err != 0) {
    ::close(fd);
    RaiseErrno(err);
  }
  return fd;
}
}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

void KillFile(const std::string& path) {
  if (!path.empty()) ::unlink(path.c_str());
}

bool FileExists(const std::string& path) {
  return RegularFileLength(path) >= 0;
}

std::int64_t RegularFileLength(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

std::int64_t FileLength(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

int OpenRegularFile(const std::string& path, std::int64_t* length) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) RaiseErrno(errno);
  struct stat st {};
  const int err = ::fstat(fd, &st) != 0 ? errno : (S_ISREG(st.st_mode) ? 0 : ENOENT);
  if (err != 0) {
    ::close(fd);
    RaiseErrno(err);
  }
  if (length) *length = static_cast<std::int64_t>(st.st_size);
  return fd;
}

std::string ComponentFolder() {
  {
    std::lock_guard<std::mutex> lock(g_settings_mutex);
    if (g_component_folder) return *g_component_folder;
  }
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&ComponentFolder), &info) != 0 && info.dli_fname &&
      info.dli_fname[0] == '/') {
    return FolderOf(info.dli_fname);
  }
  char exe[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  if (n > 0) {
    exe[n] = '\0';
    return FolderOf(exe);
  }
  return ".";
}

void SetComponentFolderForTesting(std::optional<std::string> folder) {
  std::lock_guard<std::mutex> lock(g_settings_mutex);
  g_component_folder = std::move(folder);
}

std::string OverrideFilePath() {
  std::lock_guard<std::mutex> lock(g_settings_mutex);
  return g_override_path ? *g_override_path : std::string("/RYV_Force_InputFile.Txt");
}

void SetOverrideFilePathForTesting(std::optional<std::string> path) {
  std::lock_guard<std::mutex> lock(g_settings_mutex);
  g_override_path = std::move(path);
}

void SetWriteFaultForTesting(WriteFault fault) {
  std::lock_guard<std::mutex> lock(g_settings_mutex);
  g_write_fault = std::move(fault);
}

OutFile::~OutFile() {
  Abandon();
}

OutFile::OutFile(OutFile&& other) noexcept {
  *this = std::move(other);
}

OutFile& OutFile::operator=(OutFile&& other) noexcept {
  if (this != &other) {
    Abandon();
    // The other file's block in hand is written first: its thread writes
    // through the object it was handed over by.
    other.Settle();
    fd_ = other.fd_;
    failed_ = other.failed_;
    path_ = std::move(other.path_);
    device_ = other.device_;
    inode_ = other.inode_;
    buffer_ = std::move(other.buffer_);
    capacity_ = std::exchange(other.capacity_, 0);
    used_ = other.used_;
    written_ = other.written_;
    inFile_ = other.inFile_;
    closing_ = other.closing_;
    watcher_ = std::exchange(other.watcher_, nullptr);
    block_ = other.block_;
    spare_ = std::move(other.spare_);
    behind_ = std::move(other.behind_);
    other.fd_ = -1;
    other.used_ = 0;
    other.inode_ = 0;
  }
  return *this;
}

void OutFile::Open(const std::string& path, Mode mode) {
  if (fd_ >= 0) Raise(failure::kFileAlreadyOpen);
  if (path.empty()) Raise(failure::kBadFileNumber);
  int fd = -1;
  struct stat st {};
  bool statted = false;  // the opening already looked at the file
  switch (mode) {
    case Mode::kAppend:
      fd = OpenForAppending(path, st);
      statted = true;
      break;
    case Mode::kRecreate:
      fd = CreateFresh(path);
      break;
    case Mode::kNamedByUser:
      fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      break;
  }
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT) Raise(failure::kPathNotFound);
    RaiseErrno(err);
  }
  if (!statted && ::fstat(fd, &st) != 0) {
    int err = errno;
    ::close(fd);
    RaiseErrno(err);
  }
  fd_ = fd;
  failed_ = 0;
  path_ = path;
  device_ = static_cast<std::uint64_t>(st.st_dev);
  inode_ = static_cast<std::uint64_t>(st.st_ino);
  if (!buffer_) {
    buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
    capacity_ = kBufferSize;
  }
  used_ = 0;
  written_ = 0;
  inFile_ = 0;
  closing_ = false;
  watcher_ = nullptr;
  block_ = 0;
}

void OutFile::WriteOutOfLine(std::initializer_list<std::string_view> parts) {
  if (fd_ < 0) Raise(failure::kBadFileNumber);
  if (failed_ != 0) Raise(failed_);
  std::size_t total = 0;
  for (std::string_view part : parts) total += part.size();
  written_ += total;
  if (used_ + total > capacity_) {
    FlushFull();
    if (total >= capacity_) {
      for (std::string_view part : parts) WriteRaw(part.data(), part.size());
      return;
    }
  }
  for (std::string_view part : parts) Put(part);
}

void OutFile::Fail(int number) {
  failed_ = number;
  Raise(number);
}

namespace {
// Writes every byte; 0, or the errno of the failure.
int WriteAll(int fd, const std::string& path, const char* data, std::size_t size) noexcept {
  try {
    if (int err = InjectedFault(path); err != 0) return err;
  } catch (...) {
    return EIO;
  }
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}
}  // namespace

int OutFile::WriteBlock(void* file, char* data, std::size_t size) noexcept {
  const OutFile& self = *static_cast<const OutFile*>(file);
  return WriteAll(self.fd_, self.path_, data, size);
}

void OutFile::Settle() noexcept {
  if (!behind_ || inHand_ == 0) return;
  const int err = behind_->Await();
  inFile_ += std::exchange(inHand_, 0);
  if (err != 0 && failed_ == 0) failed_ = FailureNumberForErrno(err);
}

void OutFile::Await() {
  Settle();
  if (failed_ != 0) Raise(failed_);
}

void OutFile::WriteRaw(const char* data, std::size_t size) {
  Await();
  if (int err = WriteAll(fd_, path_, data, size); err != 0) Fail(FailureNumberForErrno(err));
  inFile_ += size;
  if (watcher_ != nullptr) watcher_->Reached(inFile_, closing_);
}

void OutFile::FlushFull() {
  if (block_ == 0 || watcher_ != nullptr) return Flush();
  if (fd_ < 0) Raise(failure::kBadFileNumber);
  Await();
  if (used_ == 0) return;
  if (capacity_ < block_) {
    // The file outgrew its usual buffer: it is written at once, and from
    // now on in large blocks (the larger buffer is kept for later openings).
    Flush();
    buffer_ = std::make_unique_for_overwrite<char[]>(block_);
    spare_.reset();
    capacity_ = block_;
    return;
  }
  if (!behind_) behind_ = std::make_unique<BlockThread>();
  if (!spare_) spare_ = std::make_unique_for_overwrite<char[]>(capacity_);
  // The full buffer is handed over; the next bytes go to the spare one. The
  // buffer is emptied whatever the write's outcome, as in Flush.
  std::swap(buffer_, spare_);
  const std::size_t size = std::exchange(used_, 0);
  if (behind_->Submit(&OutFile::WriteBlock, this, spare_.get(), size)) {
    inHand_ = size;
  } else {
    WriteRaw(spare_.get(), size);  // no thread: written at once
  }
}

void OutFile::Flush() {
  if (fd_ < 0) Raise(failure::kBadFileNumber);
  Await();
  if (used_ == 0) return;
  // The buffer is emptied whatever the write's outcome (a failed write is
  // kept in failed_ and raised again by every later call).
  const std::size_t size = std::exchange(used_, 0);
  WriteRaw(buffer_.get(), size);
}

void OutFile::Close() {
  if (fd_ < 0) return;
  try {
    closing_ = true;
    Flush();
  } catch (...) {
    Abandon();
    throw;
  }
  int fd = fd_;
  fd_ = -1;
  used_ = 0;
  behind_.reset();
  if (::close(fd) != 0 && errno != EINTR) RaiseErrno(errno);
  if (watcher_ != nullptr) std::exchange(watcher_, nullptr)->Closed();
}

void OutFile::Abandon() noexcept {
  // A block in hand is written before its file is closed under it.
  Settle();
  behind_.reset();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  used_ = 0;
}

void OutFile::Discard() noexcept {
  struct stat st {};
  if (inode_ != 0 && ::lstat(path_.c_str(), &st) == 0 &&
      static_cast<std::uint64_t>(st.st_dev) == device_ &&
      static_cast<std::uint64_t>(st.st_ino) == inode_) {
    ::unlink(path_.c_str());
  }
  inode_ = 0;
  Abandon();
}

LineReader::LineReader(const std::string& path) : reader_(path) {}

LineReader::LineReader(const std::string& path, std::string& block) : reader_(path, block) {}

LineReader::~LineReader() = default;

bool LineReader::Next(std::string& line) {
  line.clear();
  // A read error is raised, never taken for the end of the file (a folder
  // in the file's place, an I/O error).
  const std::int64_t before = reader_.position();
  if (!reader_.AppendUntil('\n', line, kMaxLineBytes) && reader_.position() == before) {
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace wcomp837
