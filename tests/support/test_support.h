// Helpers shared by the test suites: temporary folders, a fixed clock,
// scripted prompts and file reading.
#pragma once

#include <filesystem>
#include <string>

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
void WriteFile(const std::string& path, const std::string& content);
// Source tree root (for examples/ and tests/batches/).
std::string SourceDir();

}  // namespace wcomp837::testing
