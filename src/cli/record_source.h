// The records file of the command line: one host record per line, the
// record key, one TAB, the record.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>

namespace wcomp837::cli {

struct InputRecord {
  std::int64_t lineNumber = 0;
  std::int64_t bytesRead = 0;  // input bytes up to the end of this line
  std::string key;
  std::string record;
};

// A line longer than this is not a host record: reading stops there rather
// than holding the whole of it in memory.
inline constexpr std::size_t kMaxLineBytes = 16 * 1024 * 1024;
// ReadRecords' answer for a line longer than kMaxLineBytes.
inline constexpr int kLineTooLong = -1;

// Calls take for every record line: lines end with LF, CR LF or a CR alone;
// blank lines and lines starting with "#" are skipped; a line without a TAB
// is all key.
// Answers 0 when the input was read to its end, kLineTooLong, else the
// system's error number of the read that failed (EIO when it left none).
// readAhead: the input is a regular file, read on a thread of its own one
// block ahead of the records being taken.
int ReadRecords(std::istream& in, bool readAhead,
                const std::function<void(const InputRecord&)>& take);

}  // namespace wcomp837::cli
