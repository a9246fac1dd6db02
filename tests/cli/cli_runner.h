// Runs the command line (or the C host example) as a separate program.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace wcomp837::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CliTest : public ::testing::Test {
 protected:
  // Runs program with the arguments (already quoted as needed); standard
  // output and standard error go to files, never to a terminal.
  RunResult RunProgram(const std::string& program, const std::string& args,
                       const std::string& stdinFile = "/dev/null");
  RunResult Run(const std::string& args, const std::string& stdinFile = "/dev/null") {
    return RunProgram(Cli(), args, stdinFile);
  }
  // The command line and the C host run from a folder of their own that
  // holds the example settings files (the component reads them from its own
  // folder); the C host finds the shared library there first.
  static std::string ComponentFolder();
  static std::string Cli() { return ComponentFolder() + "/wcomp837"; }
  static std::string CHost() {
    return "LD_LIBRARY_PATH=" + ComponentFolder() + " " + ComponentFolder() + "/wcomp837_c_host";
  }
  std::string Batch(const std::string& name, const std::string& content);
  std::string Options() const { return "--output-dir " + dir.path() + " --claim-file c.837 "; }
  std::string ExampleBatch() const { return SourceDir() + "/examples/batch.txt"; }
  static std::string Key(const std::string& type) {
    return "0//0//0//42//0//0//0//0//0//0//" + type;
  }
  // A practice record with every mandatory field.
  static std::string Practice();

  TempDir dir;
};

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace wcomp837::testing
