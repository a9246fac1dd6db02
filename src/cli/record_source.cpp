#include "cli/record_source.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string_view>

namespace wcomp837::cli {
namespace {

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

int ReadRecords(std::istream& in, const std::function<void(const InputRecord&)>& take) {
  InputRecord rec;
  std::string text;
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
  for (;;) {
    errno = 0;
    if (!std::getline(in, text)) break;
    const std::int64_t start = rec.bytesRead;
    const std::int64_t end = start + static_cast<std::int64_t>(text.size()) + (in.eof() ? 0 : 1);
    std::string_view rest = text;
    // CR LF ends one line; a CR on its own ends a line as well.
    if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
    for (std::size_t cr; (cr = rest.find('\r')) != std::string_view::npos;) {
      rec.bytesRead = start + static_cast<std::int64_t>(rest.data() - text.data() + cr) + 1;
      takeLine(rest.substr(0, cr));
      rest.remove_prefix(cr + 1);
    }
    rec.bytesRead = end;
    takeLine(rest);
  }
  const int err = errno;
  // Standard input is read through C stdio, which keeps its read errors to
  // itself: the stream only sees the end.
  const bool failed = in.bad() || (&in == &std::cin && std::ferror(stdin));
  if (!failed) return 0;
  return err != 0 ? err : EIO;
}

}  // namespace wcomp837::cli
