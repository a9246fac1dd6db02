#include "cli/record_source.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string_view>

#include "cli/block_reader.h"

namespace wcomp837::cli {
namespace {

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

int ReadRecords(std::istream& in, bool readAhead,
                const std::function<void(const InputRecord&)>& take) {
  InputRecord rec;
  // One record line: comments and blank lines are skipped.
  const auto takeLine = [&](std::string_view line) {
    ++rec.lineNumber;
    if (IsBlank(line) || line.front() == '#') return;
    const std::size_t tab = line.find('\t');
    rec.key.assign(line.substr(0, tab));
    if (tab == std::string_view::npos) {
      rec.record.clear();
    } else {
      rec.record.assign(line.substr(tab + 1));
    }
    take(rec);
  };
  // A line without its LF, and the bytes it took in the input. CR LF ends
  // one line; a CR on its own ends a line as well.
  const auto endLine = [&](std::string_view line, std::size_t size) {
    const std::int64_t start = rec.bytesRead;
    std::string_view rest = line;
    if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
    for (std::size_t cr; (cr = rest.find('\r')) != std::string_view::npos;) {
      rec.bytesRead = start + static_cast<std::int64_t>(rest.data() - line.data() + cr) + 1;
      takeLine(rest.substr(0, cr));
      rest.remove_prefix(cr + 1);
    }
    rec.bytesRead = start + static_cast<std::int64_t>(size);
    takeLine(rest);
  };
  // The input is read in blocks; only a line that spans blocks is copied.
  // The reader ends (and with it any thread of its own) before the stream's
  // state is looked at.
  constexpr std::size_t kBlock = 256 * 1024;
  int err = 0;
  {
    BlockReader reader(in, kBlock, readAhead);
    std::string pending;
    for (;;) {
      std::string_view bytes = reader.Next(err);
      const std::size_t got = bytes.size();
      for (std::size_t lf; (lf = bytes.find('\n')) != std::string_view::npos;) {
        if (pending.empty()) {
          endLine(bytes.substr(0, lf), lf + 1);
        } else {
          if (pending.size() + lf > kMaxLineBytes) return kLineTooLong;
          pending.append(bytes.substr(0, lf));
          endLine(pending, pending.size() + 1);
          pending.clear();
        }
        bytes.remove_prefix(lf + 1);
      }
      if (pending.size() + bytes.size() > kMaxLineBytes) return kLineTooLong;
      pending.append(bytes);
      if (got < kBlock) break;  // the end, or a failed read
    }
    if (!pending.empty()) endLine(pending, pending.size());
  }
  // Standard input is read through C stdio, which keeps its read errors to
  // itself: the stream only sees the end.
  const bool failed = in.bad() || (&in == &std::cin && std::ferror(stdin));
  if (!failed) return 0;
  return err != 0 ? err : EIO;
}

}  // namespace wcomp837::cli
