#include "cli/message_spool.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace wcomp837::cli {
namespace {

constexpr std::size_t kSpillSize = 256 * 1024;

// Writes values separated by line ends as values separated by commas.
void WriteAsList(std::ostream& out, std::string_view values, bool& first) {
  for (std::size_t end; !values.empty(); values.remove_prefix(end + 1)) {
    end = values.find('\n');
    if (end == std::string_view::npos) end = values.size();
    if (!first) out << ',';
    first = false;
    out << values.substr(0, end);
    if (end == values.size()) break;
  }
}

}  // namespace

MessageSpool::MessageSpool(const std::string& folder) {
  if (!folder.empty()) fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
}

MessageSpool::~MessageSpool() {
  if (fd_ >= 0) ::close(fd_);
}

void MessageSpool::Add(const std::string& json) {
  pending_ += json;
  pending_ += '\n';
  if (pending_.size() >= kSpillSize) Spill();
}

void MessageSpool::Spill() {
  if (fd_ < 0 || full_ || pending_.empty()) return;
  if (::pwrite(fd_, pending_.data(), pending_.size(), fileSize_) ==
      static_cast<ssize_t>(pending_.size())) {
    fileSize_ += static_cast<off_t>(pending_.size());
    pending_.clear();
  } else {
    full_ = true;  // a full disk: what the file holds stays, the rest in memory
  }
}

void MessageSpool::WriteList(std::ostream& out) {
  bool first = true;
  if (fd_ >= 0) {
    std::string chunk(64 * 1024, '\0');
    std::string carry;  // a value cut by the chunk's end
    for (off_t at = 0; at < fileSize_;) {
      const std::size_t want = std::min(chunk.size(), static_cast<std::size_t>(fileSize_ - at));
      const ssize_t n = ::pread(fd_, chunk.data(), want, at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      at += n;
      carry.append(chunk.data(), static_cast<std::size_t>(n));
      const std::size_t whole = carry.rfind('\n');
      if (whole == std::string::npos) continue;
      WriteAsList(out, std::string_view(carry).substr(0, whole), first);
      carry.erase(0, whole + 1);
    }
  }
  WriteAsList(out, pending_, first);
}

}  // namespace wcomp837::cli
