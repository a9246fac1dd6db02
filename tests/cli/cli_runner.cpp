#include "cli_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

namespace wcomp837::testing {

RunResult CliTest::RunProgram(const std::string& program, const std::string& args,
                              const std::string& stdinFile) {
  const std::string cmd = program + " " + args + " <" + stdinFile + " >" + dir.File("stdout.txt") +
                          " 2>" + dir.File("stderr.txt");
  const int raw = std::system(cmd.c_str());
  RunResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadFile(dir.File("stdout.txt"));
  r.err = ReadFile(dir.File("stderr.txt"));
  return r;
}

std::string CliTest::ComponentFolder() {
  static TempDir folder;
  static const bool filled = [] {
    namespace fs = std::filesystem;
    // A hard link where the file system allows one (the programs are large).
    const auto copy = [](const std::string& from, const std::string& name) {
      std::error_code ec;
      fs::create_hard_link(from, folder.File(name), ec);
      if (ec) fs::copy_file(from, folder.File(name), fs::copy_options::overwrite_existing);
    };
    copy(WCOMP837_CLI, "wcomp837");
    copy(WCOMP837_C_HOST, "wcomp837_c_host");
    copy(WCOMP837_SHARED_LIB, "libwcomp837.so.1306");
    for (const char* settings : {"QBEX_ALT_PRACTICENAME.DAT", "QBEX_CFG_NPICMS.DAT"}) {
      copy(SourceDir() + "/examples/settings/" + settings, settings);
    }
    return true;
  }();
  (void)filled;
  return folder.path();
}

std::string CliTest::Batch(const std::string& name, const std::string& content) {
  WriteFile(dir.File(name), content);
  return dir.File(name);
}

std::string CliTest::Practice() {
  std::string rec = "1000//PR01//RIVERSIDE ORTHOPEDICS";
  for (int i = 3; i < 21; ++i) rec += "//F" + std::to_string(i);
  return rec;
}

}  // namespace wcomp837::testing
