// The settings files of the component (platform/folders.h): one record of comma-separated
// values per line. A value may be quoted ("Smith, Jones") or, as dates are
// written, enclosed in "#"; unquoted values are trimmed.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/folders.h"

namespace wcomp837 {

class SettingsFileReader {
 public:
  // Raises the file-not-found failure when the file is missing; a failure
  // to open names the path in its description.
  explicit SettingsFileReader(const std::string& path);
  // The next record with exactly `count` values (missing ones empty, extra
  // ones dropped); blank lines are skipped. False at the end of the file.
  bool Next(std::vector<std::string>& values, std::size_t count);

 private:
  LineReader lines_;
};

// The values of one settings line.
std::vector<std::string> SplitSettingsLine(const std::string& line);

}  // namespace wcomp837
