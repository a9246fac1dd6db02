// libFuzzer target: drives one Format_Class through a host script made from
// the input bytes (format in host_script.h). All files go to a private
// temporary folder that is emptied after every input; settings files, the
// override file, the database configuration and the print server are private
// too. A wrong answer aborts, so that the input is kept.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "host_script.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/printing.h"
#include "platform/prompt.h"

namespace fs = std::filesystem;

namespace {

class SilentPrompt : public wcomp837::UserPrompt {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void Notify(const std::string&, const std::string&) override {}
};

struct Sandbox {
  fs::path root;
  fs::path out;
};

void WriteText(const fs::path& path, const std::string& text) {
  if (FILE* f = std::fopen(path.c_str(), "w")) {
    std::fputs(text.c_str(), f);
    std::fclose(f);
  }
}

const Sandbox& TheSandbox() {
  static const Sandbox box = [] {
    char pattern[] = "/tmp/wcomp837-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) std::abort();
    Sandbox b{made, fs::path(made) / "out"};
    fs::create_directories(b.out);
    const fs::path component = b.root / "component";
    fs::create_directories(component);
    std::error_code ec;
    const fs::path settings = fs::path(WCOMP837_SOURCE_DIR) / "examples" / "settings";
    for (const char* name : {"QBEX_ALT_PRACTICENAME.DAT", "QBEX_CFG_NPICMS.DAT"}) {
      fs::copy_file(settings / name, component / name, ec);
    }
    // An empty private database configuration: every data source name is
    // unknown and fails at once.
    const fs::path odbc = b.root / "odbc";
    fs::create_directories(odbc);
    WriteText(odbc / "odbcinst.ini", "");
    WriteText(odbc / "odbc.ini", "");
    ::setenv("ODBCSYSINI", odbc.c_str(), 1);
    ::setenv("ODBCINI", (odbc / "odbc.ini").c_str(), 1);
    // The driver manager loads and unloads its configuration library around
    // every connection; kept loaded, the caches it never frees are named in
    // the leak suppressions.
    ::dlopen("libodbcinst.so.2", RTLD_LAZY | RTLD_NODELETE);

    wcomp837::SetComponentFolderForTesting(component.string());
    wcomp837::SetOverrideFilePathForTesting((b.root / "no-override.txt").string());
    wcomp837::SetPrintServerForTesting((b.root / "no-print-server.sock").string());
    wcomp837::SetUserPrompt(std::make_shared<SilentPrompt>());
    wcomp837::SetFixedClock(wcomp837::DateTime{2026, 12, 6, 6, 10, 43});
    return b;
  }();
  return box;
}

void EmptyFolder(const fs::path& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) fs::remove_all(entry.path(), ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Sandbox& box = TheSandbox();
  static wcomp837::fuzzing::HostScript host(box.out.string());
  if (!host.Run(std::string_view(reinterpret_cast<const char*>(data), size))) {
    std::fprintf(stderr, "wrong answer: %s\n", host.problem().c_str());
    std::abort();
  }
  EmptyFolder(box.out);
  return 0;
}
