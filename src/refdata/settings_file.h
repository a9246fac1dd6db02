// The settings files beside the component: one record of comma-separated
// values per line. A value may be quoted ("Smith, Jones") or, as dates are
// written, enclosed in "#"; unquoted values are trimmed.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

namespace wcomp837 {

class SettingsFileReader {
 public:
  // Raises the file-not-found failure when the file is missing.
  explicit SettingsFileReader(const std::string& path) : lines_(path) {}
  // The next record with exactly `count` values (missing ones empty, extra
  // ones dropped); blank lines are skipped. False at the end of the file.
  bool Next(std::vector<std::string>& values, std::size_t count);

 private:
  LineReader lines_;
};

// The values of one settings line.
std::vector<std::string> SplitSettingsLine(const std::string& line);

}  // namespace wcomp837
