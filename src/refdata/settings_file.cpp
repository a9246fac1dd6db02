#include "refdata/settings_file.h"

#include "platform/failure.h"
#include "records/text.h"

namespace wcomp837 {
namespace {

bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t';
}

}  // namespace

void SplitSettingsLine(std::string_view line, std::vector<std::string>& values) {
  std::size_t count = 0;
  std::size_t pos = 0;
  for (;;) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    std::string_view value;
    if (pos < line.size() && line[pos] == '"') {
      std::size_t close = line.find('"', pos + 1);
      if (close == std::string_view::npos) close = line.size();
      value = line.substr(pos + 1, close - pos - 1);
      pos = close;
    } else {
      std::size_t comma = line.find(',', pos);
      if (comma == std::string_view::npos) comma = line.size();
      value = TrimView(line.substr(pos, comma - pos));
      if (value.size() >= 2 && value.front() == '#' && value.back() == '#') {
        value = value.substr(1, value.size() - 2);
      }
      pos = comma;
    }
    if (count == values.size()) values.emplace_back();
    values[count++].assign(value);
    std::size_t comma = line.find(',', pos);
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
  }
  values.resize(count);
}

std::vector<std::string> SplitSettingsLine(std::string_view line) {
  std::vector<std::string> values;
  SplitSettingsLine(line, values);
  return values;
}

SettingsFileReader::SettingsFileReader(const std::string& path) : SettingsFileReader(path, own_) {}

SettingsFileReader::SettingsFileReader(const std::string& path, SettingsBuffers& buffers) try
    : buffers_(buffers), lines_(path, buffers.block) {
} catch (const Failure& f) {
  throw Failure{f.number, f.description + ": " + path};
}

bool SettingsFileReader::Next(std::vector<std::string>& values, std::size_t count) {
  std::string& line = buffers_.line;
  while (lines_.Next(line)) {
    if (TrimView(line).empty()) continue;
    SplitSettingsLine(line, values);
    values.resize(count);
    return true;
  }
  return false;
}

}  // namespace wcomp837
