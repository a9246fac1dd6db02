// Keeps the messages of a run for the JSON summary without holding them all
// in memory: they go to an unnamed temporary file in the output folder
// (gone when the run ends, never visible under a name), or stay in memory
// when no such file can be made.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <ostream>
#include <string>

namespace wcomp837::cli {

class MessageSpool {
 public:
  // folder: where the unnamed file may live ("" keeps everything in memory).
  explicit MessageSpool(const std::string& folder);
  ~MessageSpool();
  MessageSpool(const MessageSpool&) = delete;
  MessageSpool& operator=(const MessageSpool&) = delete;

  // Adds one JSON value (one line of text without line breaks).
  void Add(const std::string& json);
  // Writes every value added, in order, separated by commas.
  void WriteList(std::ostream& out);

 private:
  // Moves the pending values to the file; they stay in memory when it fails.
  void Spill();
  int fd_ = -1;
  off_t fileSize_ = 0;  // bytes of whole values in the file, before pending_
  bool full_ = false;   // the file took no more
  std::string pending_;
};

}  // namespace wcomp837::cli
