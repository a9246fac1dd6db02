#include "cli/record_source.h"

namespace wcomp837::cli {
namespace {
bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}
}  // namespace

void ReadRecords(std::istream& in, const std::function<void(const InputRecord&)>& take) {
  InputRecord rec;
  std::string line;
  while (std::getline(in, line)) {
    ++rec.lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsBlank(line) || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      rec.key = line;
      rec.record.clear();
    } else {
      rec.key = line.substr(0, tab);
      rec.record = line.substr(tab + 1);
    }
    take(rec);
  }
}

}  // namespace wcomp837::cli
