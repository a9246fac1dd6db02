// Reads a file byte by byte from a large buffer (one system call per block).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wcomp837 {

class ByteReader {
 public:
  // Opens the file for reading; raises Failure when it cannot (the
  // file-not-found failure when it is not a regular file).
  explicit ByteReader(const std::string& path);
  // The same, reading into block, whose capacity is kept by the caller for
  // the next file (no allocation once it has grown).
  ByteReader(const std::string& path, std::string& block);
  ~ByteReader();
  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  // Length of the file when it was opened.
  std::int64_t length() const { return length_; }
  // Bytes consumed so far.
  std::int64_t position() const { return position_; }
  // Appends the bytes up to the next delim to out and consumes the delim
  // too; out grows to limit bytes at most, the bytes beyond are consumed
  // without being kept. False when the file ended before a delim (what was
  // read is in out).
  bool AppendUntil(char delim, std::string& out, std::size_t limit = std::string::npos);
  // The next block of the file as it comes; the view stays valid until the
  // next call. False at the end of the file.
  bool NextBlock(std::string_view& block);

 private:
  bool Fill();
  int fd_ = -1;
  std::int64_t length_ = 0;
  std::int64_t position_ = 0;
  // A block of the file; no larger than the file (plus one byte to see its
  // end), allocated at the first read and never cleared, or the caller's.
  std::unique_ptr<char[]> owned_;
  std::string* block_ = nullptr;
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
  std::size_t next_ = 0;
  // A read of a regular file that returns less than it asked for has
  // reached the end: no further read is made.
  bool atEnd_ = false;
};

}  // namespace wcomp837
