// The private surroundings every fuzz target runs in: a temporary folder
// (in memory when it can be) with an output folder and a component folder (the example settings
// files), no override file, an empty database configuration, no print server, a silent prompt and a
// fixed clock. Made once per process.
#pragma once

#include <dirent.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/printing.h"
#include "platform/prompt.h"

namespace wcomp837::fuzzing {

namespace fs = std::filesystem;

class SilentPrompt : public UserPrompt {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void Notify(const std::string&, const std::string&) override {}
};

struct Sandbox {
  fs::path root;
  fs::path out;
  fs::path component;
};

// Removes the sandbox when the fuzzer exits normally.
struct SandboxRemover {
  fs::path root;
  ~SandboxRemover() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

inline void WriteText(const fs::path& path, const std::string& text) {
  if (FILE* f = std::fopen(path.c_str(), "w")) {
    std::fputs(text.c_str(), f);
    std::fclose(f);
  }
}

inline const Sandbox& TheSandbox() {
  static const Sandbox box = [] {
    // In memory where there is such a file system: files are made and
    // deleted at every input.
    std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    pattern += "/wcomp837-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern.data());
    if (!made) std::abort();
    Sandbox b{made, fs::path(made) / "out", fs::path(made) / "component"};
    fs::create_directories(b.out);
    fs::create_directories(b.component);
    std::error_code ec;
    const fs::path settings = fs::path(WCOMP837_SOURCE_DIR) / "examples" / "settings";
    for (const char* name : {"QBEX_ALT_PRACTICENAME.DAT", "QBEX_CFG_NPICMS.DAT"}) {
      fs::copy_file(settings / name, b.component / name, ec);
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

    SetComponentFolderForTesting(b.component.string());
    SetOverrideFilePathForTesting((b.root / "no-override.txt").string());
    SetPrintServerForTesting((b.root / "no-print-server.sock").string());
    SetUserPrompt(std::make_shared<SilentPrompt>());
    SetFixedClock(DateTime{2026, 12, 6, 6, 10, 43});
    return b;
  }();
  static const SandboxRemover remover{box.root};
  return box;
}

// A wrong answer aborts, so that libFuzzer keeps the input.
inline void ExpectNoProblem(const std::string& problem) {
  if (problem.empty()) return;
  std::fprintf(stderr, "wrong answer: %s\n", problem.c_str());
  std::abort();
}

// Deletes every entry of the folder. The last folder emptied stays open (the
// records target empties the same one after every input) and is read again
// from its start each time.
inline void EmptyFolder(const fs::path& folder) {
  static fs::path openFolder;
  static DIR* dir = nullptr;
  if (!dir || folder != openFolder) {
    if (dir) ::closedir(dir);
    dir = ::opendir(folder.c_str());
    openFolder = folder;
  }
  if (!dir) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) fs::remove_all(entry.path(), ec);
    return;
  }
  ::rewinddir(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    // A file goes at once; a folder (a name the host gave) with its contents.
    if (::unlinkat(::dirfd(dir), entry->d_name, 0) != 0) {
      std::error_code ec;
      fs::remove_all(folder / entry->d_name, ec);
    }
  }
}

}  // namespace wcomp837::fuzzing
