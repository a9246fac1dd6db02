#include "platform/files.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <mutex>

#include "platform/failure.h"

namespace wcomp837 {
namespace {
std::mutex g_settings_mutex;
std::optional<std::string> g_component_folder;
std::optional<std::string> g_override_path;
WriteFault g_write_fault;
constexpr std::size_t kBufferSize = 64 * 1024;

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
}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

void KillFile(const std::string& path) {
  if (!path.empty()) ::unlink(path.c_str());
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::int64_t FileLength(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  return static_cast<std::int64_t>(st.st_size);
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

OutFile::OutFile(OutFile&& other) noexcept
    : fd_(other.fd_),
      failed_(other.failed_),
      path_(std::move(other.path_)),
      buffer_(std::move(other.buffer_)),
      written_(other.written_) {
  other.fd_ = -1;
}

OutFile& OutFile::operator=(OutFile&& other) noexcept {
  if (this != &other) {
    Abandon();
    fd_ = other.fd_;
    failed_ = other.failed_;
    path_ = std::move(other.path_);
    buffer_ = std::move(other.buffer_);
    written_ = other.written_;
    other.fd_ = -1;
  }
  return *this;
}

void OutFile::Open(const std::string& path, Mode mode) {
  if (fd_ >= 0) Raise(failure::kFileAlreadyOpen);
  if (path.empty()) Raise(failure::kBadFileNumber);
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::kAppend ? O_APPEND : O_TRUNC);
  int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT) Raise(failure::kPathNotFound);
    RaiseErrno(err);
  }
  fd_ = fd;
  failed_ = 0;
  path_ = path;
  buffer_.clear();
  buffer_.reserve(kBufferSize);
  written_ = 0;
}

void OutFile::Write(std::string_view bytes) {
  if (fd_ < 0) Raise(failure::kBadFileNumber);
  if (failed_ != 0) Raise(failed_);
  written_ += bytes.size();
  if (buffer_.size() + bytes.size() > kBufferSize) {
    Flush();
    if (bytes.size() >= kBufferSize) {
      WriteRaw(bytes.data(), bytes.size());
      return;
    }
  }
  buffer_.append(bytes);
}

void OutFile::Write(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (std::string_view part : parts) total += part.size();
  if (buffer_.size() + total > kBufferSize) {
    // A flush is due: the one-piece path decides how the bytes go out.
    std::string joined;
    joined.reserve(total);
    for (std::string_view part : parts) joined.append(part);
    Write(std::string_view(joined));
    return;
  }
  if (fd_ < 0) Raise(failure::kBadFileNumber);
  if (failed_ != 0) Raise(failed_);
  written_ += total;
  for (std::string_view part : parts) buffer_.append(part);
}

void OutFile::Fail(int number) {
  failed_ = number;
  Raise(number);
}

void OutFile::WriteRaw(const char* data, std::size_t size) {
  if (int err = InjectedFault(path_); err != 0) Fail(FailureNumberForErrno(err));
  while (size > 0) {
    ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(FailureNumberForErrno(errno));
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

void OutFile::Flush() {
  if (fd_ < 0) Raise(failure::kBadFileNumber);
  if (failed_ != 0) Raise(failed_);
  if (buffer_.empty()) return;
  std::string pending;
  pending.swap(buffer_);
  buffer_.reserve(kBufferSize);
  WriteRaw(pending.data(), pending.size());
}

void OutFile::Close() {
  if (fd_ < 0) return;
  try {
    Flush();
  } catch (...) {
    Abandon();
    throw;
  }
  int fd = fd_;
  fd_ = -1;
  buffer_.clear();
  if (::close(fd) != 0 && errno != EINTR) RaiseErrno(errno);
}

void OutFile::Abandon() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  buffer_.clear();
}

LineReader::LineReader(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    int err = errno;
    if (err == ENOENT) Raise(failure::kFileNotFound);
    RaiseErrno(err);
  }
  file_ = f;
}

LineReader::~LineReader() {
  if (file_) std::fclose(static_cast<FILE*>(file_));
}

bool LineReader::Next(std::string& line) {
  line.clear();
  FILE* f = static_cast<FILE*>(file_);
  int c;
  bool any = false;
  while ((c = std::fgetc(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
  }
  // A read error is not the end of the file (a folder in the file's place,
  // an I/O error): what was read would be taken for the whole file.
  if (std::ferror(f)) RaiseErrno(errno);
  if (!any) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace wcomp837
