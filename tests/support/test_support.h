// Helpers shared by the test suites: temporary folders, a fixed clock,
// scripted prompts and file reading.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "x12/guide/check.h"

namespace wcomp837::testing {

// A fresh temporary folder, removed when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
// The text with every occurrence of `from` replaced by `to`.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
void WriteFile(const std::string& path, const std::string& content);
// One host record of a records file.
struct HostLine {
  std::string key;
  std::string record;
};
// A records file's text: key TAB record per line (a line without TAB is all
// key); a trailing CR is dropped, empty lines and "#" lines are skipped.
std::vector<HostLine> ParseRecordsText(const std::string& text);

// The segments of claim-file text ended by "~"; *rest receives any text
// after the last terminator.
std::vector<std::string> SplitSegments(const std::string& text, std::string* rest = nullptr);
// Source tree root (for examples/ and tests/batches/).
inline std::string SourceDir() {
  return WCOMP837_SOURCE_DIR;
}

// The implementation-guide check of claim-file text or of a file: its totals
// and each error as text.
struct GuideReport {
  guide::CheckTotals totals;
  std::vector<std::string> errors;
  bool ok() const { return totals.errors == 0; }
};
GuideReport CheckGuideText(const std::string& text);
GuideReport CheckGuideFile(const std::string& path);

}  // namespace wcomp837::testing
