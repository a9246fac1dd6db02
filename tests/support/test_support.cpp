#include "support/test_support.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace wcomp837::testing {
namespace {
// The ODBC driver manager loads and unloads its configuration library around
// every connection; the caches that library never frees would then be leaks
// of an unknown module to the leak checker. Kept loaded, they carry its name
// and the sanitizer build's suppression list covers them.
const bool kOdbcConfigurationPinned =
    ::dlopen("libodbcinst.so.2", RTLD_LAZY | RTLD_NODELETE) != nullptr;
}  // namespace

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "wcomp837-XXXXXX").string();
  if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::vector<HostLine> ParseRecordsText(const std::string& text) {
  std::vector<HostLine> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    out.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
  }
  return out;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::vector<std::string> SplitSegments(const std::string& text, std::string* rest) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('~', start)) != std::string::npos; start = end + 1) {
    out.push_back(text.substr(start, end - start));
  }
  if (rest) *rest = text.substr(start);
  return out;
}

GuideReport CheckGuideText(const std::string& text) {
  guide::FindingList list;
  GuideReport report{guide::CheckText(text, list), {}};
  for (const auto& kept : list.kept()) report.errors.push_back(kept.text);
  return report;
}

GuideReport CheckGuideFile(const std::string& path) {
  guide::FindingList list;
  GuideReport report{guide::CheckFile(path, list), {}};
  for (const auto& kept : list.kept()) report.errors.push_back(kept.text);
  return report;
}

}  // namespace wcomp837::testing
