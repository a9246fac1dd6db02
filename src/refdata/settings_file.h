// The settings files of the component (platform/folders.h): one record of comma-separated
// values per line. A value may be quoted ("Smith, Jones") or, as dates are
// written, enclosed in "#"; unquoted values are trimmed.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/folders.h"

namespace wcomp837 {

// What reading a settings file needs besides the file: kept by the caller
// from one file to the next, so that a file read at every practice record
// allocates nothing once these have grown.
struct SettingsBuffers {
  std::string block;
  std::string line;
};

class SettingsFileReader {
 public:
  // Raises the file-not-found failure when the file is missing; a failure
  // to open names the path in its description.
  explicit SettingsFileReader(const std::string& path);
  SettingsFileReader(const std::string& path, SettingsBuffers& buffers);
  // The next record with exactly `count` values (missing ones empty, extra
  // ones dropped); blank lines are skipped. False at the end of the file.
  // The texts of values keep their capacity.
  bool Next(std::vector<std::string>& values, std::size_t count);

 private:
  SettingsBuffers own_;
  SettingsBuffers& buffers_;
  LineReader lines_;
};

// The values of one settings line.
std::vector<std::string> SplitSettingsLine(std::string_view line);
// The same into values, whose texts keep their capacity.
void SplitSettingsLine(std::string_view line, std::vector<std::string>& values);

}  // namespace wcomp837
