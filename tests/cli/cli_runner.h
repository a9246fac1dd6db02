// Runs the command line (or the C host example) as a separate program.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace wcomp837::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Every part is somewhere in the text.
inline void ExpectParts(const std::string& text, std::initializer_list<std::string> parts) {
  for (const std::string& part : parts)
    EXPECT_TRUE(Contains(text, part)) << part << " in\n" << text;
}

class CliTest : public ::testing::Test {
 protected:
  // Runs program with the arguments (already quoted as needed); standard
  // output and standard error go to files, never to a terminal.
  RunResult RunProgram(const std::string& program, const std::string& args,
                       const std::string& stdinFile = "/dev/null") {
    const int raw = std::system((program + " " + args + " <" + stdinFile + " >" +
                                 dir.File("stdout.txt") + " 2>" + dir.File("stderr.txt"))
                                    .c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir.File("stdout.txt")),
            ReadFile(dir.File("stderr.txt"))};
  }
  RunResult Run(const std::string& args, const std::string& stdinFile = "/dev/null") {
    return RunProgram(Cli(), args, stdinFile);
  }
  // The command line and the C host run from a folder of their own that
  // holds the example settings files (the component reads them from its own
  // folder); the C host finds the shared library there first. The programs
  // are hard-linked where the file system allows it.
  static std::string ComponentFolder() {
    static TempDir folder;
    static const bool filled = [] {
      namespace fs = std::filesystem;
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
  static std::string Cli() { return ComponentFolder() + "/wcomp837"; }
  static std::string CHost() {
    return "LD_LIBRARY_PATH=" + ComponentFolder() + " " + ComponentFolder() + "/wcomp837_c_host";
  }
  std::string Batch(const std::string& name, const std::string& content) {
    WriteFile(dir.File(name), content);
    return dir.File(name);
  }
  std::string Options() const { return "--output-dir " + dir.path() + " --claim-file c.837 "; }
  std::string ExampleBatch() const { return SourceDir() + "/examples/batch.txt"; }
  static std::string Key(const std::string& type) {
    return "0//0//0//42//0//0//0//0//0//0//" + type;
  }
  // A practice record with every mandatory field.
  static std::string Practice() {
    std::string rec = "1000//PR01//RIVERSIDE ORTHOPEDICS";
    for (int i = 3; i < 21; ++i) rec += "//F" + std::to_string(i);
    return rec;
  }

  TempDir dir;
};

}  // namespace wcomp837::testing
