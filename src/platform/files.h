// Files, paths and the component's folders. Every file the component writes
// goes through OutFile, which buffers, reports failures as Failure values and
// lets tests inject write failures. No file is ever opened through a link
// planted at its name.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/block_thread.h"
#include "platform/byte_reader.h"

namespace wcomp837 {

// Joins a folder and a file name with "/" (where the host's paths used "\").
std::string JoinPath(const std::string& folder, const std::string& name);

// Deletes a file and ignores every failure.
void KillFile(const std::string& path);
bool FileExists(const std::string& path);
// Length in bytes of a regular file, or -1 when there is none at path.
std::int64_t RegularFileLength(const std::string& path);
// Length in bytes, or -1 when the file cannot be examined.
std::int64_t FileLength(const std::string& path);

// Opens a regular file for reading without ever waiting on it (a pipe or a
// device in its place would block) and returns the descriptor; `length`, when
// given, receives its size. Raises the file-not-found failure when the file
// is missing or is not a regular file, the matching failure otherwise.
int OpenRegularFile(const std::string& path, std::int64_t* length = nullptr);

// The folder of the loaded component (settings files live there).
std::string ComponentFolder();
void SetComponentFolderForTesting(std::optional<std::string> folder);

// The override file naming a different claim file.
std::string OverrideFilePath();
void SetOverrideFilePathForTesting(std::optional<std::string> path);

// Test seam: called before every physical write or flush of an OutFile with
// the file's path; a non-zero errno answer makes that write fail.
using WriteFault = std::function<int(const std::string& path)>;
void SetWriteFaultForTesting(WriteFault fault);

// Told, after each write that reached the file, how many bytes the file now
// holds from this opening, and when it was closed with every byte written:
// a reader can follow the file while it grows.
class WriteWatcher {
 public:
  // closing: the write of the bytes left in the buffer when it was closed.
  virtual void Reached(std::uint64_t bytesInFile, bool closing) noexcept = 0;
  virtual void Closed() noexcept = 0;

 protected:
  ~WriteWatcher() = default;
};

// A buffered output file. Open, Write, Flush and Close raise Failure on error.
class OutFile {
 public:
  // kRecreate: whatever stands at the name is deleted and a new file is
  // created in its place; a link planted at the name, before or during the
  // open, is never followed. kAppend: an existing file is appended to only
  // when it is a regular file of the running user with no other name (not a
  // link, a folder, a pipe or a device); a missing one is created.
  // kNamedByUser: a file a user named for the output, opened where the name
  // leads as any tool would (through a link, onto a device such as
  // /dev/stdout or a pipe), created when missing and emptied when a file;
  // never deleted and replaced.
  enum class Mode { kRecreate, kAppend, kNamedByUser };
  OutFile() = default;
  ~OutFile();
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  OutFile(OutFile&& other) noexcept;
  OutFile& operator=(OutFile&& other) noexcept;

  void Open(const std::string& path, Mode mode);
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  // Bytes that fit in the buffer are copied there inline; the rest (a full
  // buffer, a closed or failed file) takes the out-of-line path.
  void Write(std::string_view bytes) {
    if (!Fits(bytes.size())) return WriteOutOfLine({bytes});
    Put(bytes);
    written_ += bytes.size();
  }
  // Writes the parts as one piece (the same bytes and failures as one Write
  // of their concatenation) without building the concatenation.
  void Write(std::initializer_list<std::string_view> parts) {
    std::size_t total = 0;
    for (std::string_view part : parts) total += part.size();
    if (!Fits(total)) return WriteOutOfLine(parts);
    for (std::string_view part : parts) Put(part);
    written_ += total;
  }
  // Writes text given in parts between two literals (a quote, a line end);
  // the literals are copied with the lengths the compiler knows.
  template <std::size_t B, std::size_t A>
  void WriteBetween(const char (&before)[B], std::initializer_list<std::string_view> parts,
                    const char (&after)[A]) {
    if (WriteBetweenIfRoom(before, parts, after)) return;
    Write(std::string_view(before, B - 1));
    Write(parts);
    Write(std::string_view(after, A - 1));
  }
  // The same when the whole fits in the buffer as it stands; false, with
  // nothing written, when it does not (a full buffer, a closed or failed
  // file). Inlined where the parts are literals, every copy has a length the
  // compiler knows.
  template <std::size_t B, std::size_t A>
  bool WriteBetweenIfRoom(const char (&before)[B], std::initializer_list<std::string_view> parts,
                          const char (&after)[A]) {
    constexpr std::size_t kBefore = B - 1;
    constexpr std::size_t kAfter = A - 1;
    std::size_t total = kBefore + kAfter;
    for (std::string_view part : parts) total += part.size();
    if (!Fits(total)) return false;
    char* to = buffer_.get() + used_;
    std::memcpy(to, before, kBefore);
    to += kBefore;
    for (std::string_view part : parts) {
      if (!part.empty()) std::memcpy(to, part.data(), part.size());
      to += part.size();
    }
    std::memcpy(to, after, kAfter);
    used_ += total;
    written_ += total;
    return true;
  }
  // Writes what the buffer holds (and waits for a block written in the
  // background): every byte handed to Write is then in the file.
  void Flush();
  // From now until the file is closed, once the file outgrows its usual
  // buffer, the buffer holds `block` bytes and, when full, is written by a
  // thread of the file's own while the next one fills. A failure of such a
  // write is raised by a later Write that fills the buffer again, or by
  // Flush or Close, which wait for it.
  void WriteInBackground(std::size_t block) { block_ = block; }
  // Flushes and closes; the file is closed even when the flush fails.
  void Close();
  // Closes without flushing or reporting anything (abandoned files).
  void Abandon() noexcept;
  // Abandons the file and deletes it, unless its name now stands for
  // another file (an incomplete document must not stay behind).
  void Discard() noexcept;
  // Bytes handed to Write since Open.
  std::uint64_t bytes_written() const { return written_; }
  // The watcher told of the writes to the file opened last (none after Open).
  void Watch(WriteWatcher* watcher) { watcher_ = watcher; }
  // The file opened last: its device and inode.
  std::uint64_t device() const { return device_; }
  std::uint64_t inode() const { return inode_; }
  // The failure of a physical write since Open (0 when none). Bytes were lost
  // with it, so every later Write, Flush and Close raises it again.
  int failed() const { return failed_; }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  bool Fits(std::size_t size) const {
    return fd_ >= 0 && failed_ == 0 && size <= capacity_ - used_;
  }
  void Put(std::string_view bytes) {
    if (!bytes.empty()) std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void WriteOutOfLine(std::initializer_list<std::string_view> parts);
  void WriteRaw(const char* data, std::size_t size);
  // A full buffer: written in the background, or at once.
  void FlushFull();
  // Waits for the block written in the background; its failure is kept
  // (Settle) or raised (Await).
  void Settle() noexcept;
  void Await();
  static int WriteBlock(void* file, char* data, std::size_t size) noexcept;
  [[noreturn]] void Fail(int number);
  int fd_ = -1;
  int failed_ = 0;
  std::string path_;
  // The file this object created or opened (device and inode).
  std::uint64_t device_ = 0;
  std::uint64_t inode_ = 0;
  // Allocated at the first Open (grown once for a file written in the
  // background) and kept; used_ bytes wait to be written.
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;  // of buffer_ (and spare_)
  std::size_t used_ = 0;
  std::uint64_t written_ = 0;
  std::uint64_t inFile_ = 0;  // bytes the file received since Open
  bool closing_ = false;      // Close is writing what is left
  // Writing in the background (block_ not 0, the size of its blocks): the
  // block being written (spare_, its size inHand_) and the thread writing it.
  std::size_t block_ = 0;
  std::unique_ptr<char[]> spare_;
  std::size_t inHand_ = 0;
  std::unique_ptr<BlockThread> behind_;
  WriteWatcher* watcher_ = nullptr;
};

// Reads a text file line by line (LF or CR LF); raises Failure when it cannot
// be opened or read. Anything but a regular file (a folder, a pipe, a
// device) is taken as missing: the file-not-found failure, never a wait. A
// line is kept up to kMaxLineBytes; the rest of a longer one is skipped, so
// that a damaged file is never held in memory whole.
class LineReader {
 public:
  static constexpr std::size_t kMaxLineBytes = 1024 * 1024;
  explicit LineReader(const std::string& path);
  // Reads through the caller's block (see ByteReader).
  LineReader(const std::string& path, std::string& block);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  // Next line without its line end; false at the end of the file.
  bool Next(std::string& line);

 private:
  ByteReader reader_;
};

}  // namespace wcomp837
