#include "refdata/settings_file.h"

#include "platform/failure.h"
#include "records/text.h"

namespace wcomp837 {
namespace {

bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t';
}

}  // namespace

std::vector<std::string> SplitSettingsLine(const std::string& line) {
  std::vector<std::string> values;
  std::size_t pos = 0;
  for (;;) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    std::string value;
    if (pos < line.size() && line[pos] == '"') {
      std::size_t close = line.find('"', pos + 1);
      if (close == std::string::npos) close = line.size();
      value = line.substr(pos + 1, close - pos - 1);
      pos = close;
    } else {
      std::size_t comma = line.find(',', pos);
      if (comma == std::string::npos) comma = line.size();
      value = Trim(std::string_view(line).substr(pos, comma - pos));
      if (value.size() >= 2 && value.front() == '#' && value.back() == '#') {
        value = value.substr(1, value.size() - 2);
      }
      pos = comma;
    }
    values.push_back(std::move(value));
    std::size_t comma = line.find(',', pos);
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  return values;
}

SettingsFileReader::SettingsFileReader(const std::string& path) try : lines_(path) {
} catch (const Failure& f) {
  throw Failure{f.number, f.description + ": " + path};
}

bool SettingsFileReader::Next(std::vector<std::string>& values, std::size_t count) {
  std::string line;
  while (lines_.Next(line)) {
    if (Trim(line).empty()) continue;
    values = SplitSettingsLine(line);
    values.resize(count);
    return true;
  }
  return false;
}

}  // namespace wcomp837
