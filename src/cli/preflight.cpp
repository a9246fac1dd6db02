#include "cli/preflight.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wcomp837::cli {

std::string SystemReason(int err) {
  return std::strerror(err);
}

std::string OutputFolderProblem(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return SystemReason(errno);
  if (!S_ISDIR(st.st_mode)) return SystemReason(ENOTDIR);
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return SystemReason(errno);
  return {};
}

std::string OpenRecordsFile(const std::string& path, std::ifstream& in) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return SystemReason(errno);
  if (S_ISDIR(st.st_mode)) return SystemReason(EISDIR);
  errno = 0;
  in.open(path, std::ios::binary);
  if (!in) return SystemReason(errno != 0 ? errno : EACCES);
  return {};
}

}  // namespace wcomp837::cli
