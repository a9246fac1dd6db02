#include "cli/record_source.h"

namespace wcomp837::cli {
namespace {
bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}
}  // namespace

bool ReadRecords(std::istream& in, const std::function<void(const InputRecord&)>& take) {
  InputRecord rec;
  std::string line;
  while (std::getline(in, line)) {
    ++rec.lineNumber;
    rec.bytesRead += static_cast<std::int64_t>(line.size()) + (in.eof() ? 0 : 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsBlank(line) || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      rec.key.assign(line);
      rec.record.clear();
    } else {
      rec.key.assign(line, 0, tab);
      rec.record.assign(line, tab + 1);
    }
    take(rec);
  }
  return !in.bad();
}

}  // namespace wcomp837::cli
