#include "platform/folders.h"

#include <initializer_list>
#include <string_view>

#include "platform/files.h"

#ifndef WCOMP837_INSTALL_BINDIR
#define WCOMP837_INSTALL_BINDIR "bin"
#endif
#ifndef WCOMP837_INSTALL_LIBDIR
#define WCOMP837_INSTALL_LIBDIR "lib"
#endif
#ifndef WCOMP837_INSTALL_SYSCONFDIR
#define WCOMP837_INSTALL_SYSCONFDIR "etc"
#endif

namespace wcomp837 {
namespace {

constexpr std::string_view kSettingsSubfolder = "/wcomp837";

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The configuration folder of a prefix, by the rules of GNU installation
// folders: /usr keeps its configuration in /etc.
std::string ConfigurationFolder(std::string_view prefix) {
  const std::string_view sysconf = WCOMP837_INSTALL_SYSCONFDIR;
  if (!sysconf.empty() && sysconf.front() == '/') return std::string(sysconf);
  if (prefix == "/usr") return "/" + std::string(sysconf);
  return std::string(prefix) + "/" + std::string(sysconf);
}

}  // namespace

std::string SettingsFolderFor(const std::string& folder) {
  std::string_view dir = folder;
  while (dir.size() > 1 && dir.back() == '/') dir.remove_suffix(1);
  for (std::string_view installed : {WCOMP837_INSTALL_BINDIR, WCOMP837_INSTALL_LIBDIR}) {
    if (installed.empty() || installed.front() == '/') continue;
    const std::string tail = "/" + std::string(installed);
    if (EndsWith(dir, tail)) {
      return ConfigurationFolder(dir.substr(0, dir.size() - tail.size())) +
             std::string(kSettingsSubfolder);
    }
  }
  return folder;
}

std::string SettingsFolder() {
  return SettingsFolderFor(ComponentFolder());
}

}  // namespace wcomp837
