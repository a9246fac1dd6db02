// Reading a file that another part of the program is still writing, and
// telling whether a file stands as it stood when it was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wcomp837 {

// Which file a name stands for (device, inode) and how it stands (size,
// last change of its content and of its inode).
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;
  std::int64_t changedSeconds = 0;
  std::int64_t changedNanoseconds = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at path, the name itself (a link is not
// followed); false when there is none.
bool StampOf(const std::string& path, FileStamp& stamp);

// Reads by offset a regular file that may still be growing.
class GrowingFile {
 public:
  GrowingFile() = default;
  ~GrowingFile();
  GrowingFile(const GrowingFile&) = delete;
  GrowingFile& operator=(const GrowingFile&) = delete;

  // Opens path for reading; false unless it is the regular file given by
  // device and inode (a link planted at the name is never followed).
  bool Open(const std::string& path, std::uint64_t device, std::uint64_t inode);
  // Up to size bytes from offset; 0 past what the file holds, -1 when the
  // file cannot be read.
  std::ptrdiff_t ReadAt(std::uint64_t offset, char* to, std::size_t size);
  // The stamp of the open file; false when it cannot be had.
  bool Stamp(FileStamp& stamp) const;
  void Close() noexcept;

 private:
  int fd_ = -1;
};

}  // namespace wcomp837
