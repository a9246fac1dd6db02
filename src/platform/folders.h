// Where the component finds its settings files: beside itself in a build
// tree, in the configuration folder of its prefix when installed.
#pragma once

#include <string>

namespace wcomp837 {

// The folder of the settings files for a component living in `folder`: a
// component in the installed program or library folder of a prefix
// (PREFIX/bin, PREFIX/lib/<multiarch>) reads PREFIX/etc/wcomp837, or
// /etc/wcomp837 for /usr; anywhere else it reads its own folder.
std::string SettingsFolderFor(const std::string& folder);
// SettingsFolderFor(ComponentFolder()).
std::string SettingsFolder();

}  // namespace wcomp837
