// The process-wide surroundings of a component under test: a fixed clock, no
// override file, a silent prompt, the example settings files in the
// component's folder, and an output folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "support/test_support.h"

namespace wcomp837::testing {

class SilentPrompt : public UserPrompt {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void Notify(const std::string&, const std::string&) override {}
};

class ComponentEnv : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFixedClock(DateTime{2026, 12, 6, 6, 10, 43});
    SetOverrideFilePathForTesting(home.File("no-override.txt"));
    SetUserPrompt(std::make_shared<SilentPrompt>());
    std::filesystem::create_directories(ComponentFolder());
    std::filesystem::create_directories(OutFolder());
    for (const char* name : {"QBEX_ALT_PRACTICENAME.DAT", "QBEX_CFG_NPICMS.DAT"}) {
      std::filesystem::copy_file(SourceDir() + "/examples/settings/" + name, Setting(name));
    }
    SetComponentFolderForTesting(ComponentFolder());
  }
  void TearDown() override {
    SetWriteFaultForTesting(nullptr);
    SetComponentFolderForTesting(std::nullopt);
    SetUserPrompt(nullptr);
    SetOverrideFilePathForTesting(std::nullopt);
    SetFixedClock(std::nullopt);
  }

  std::string ComponentFolder() const { return home.File("component"); }
  std::string Setting(const std::string& name) const { return ComponentFolder() + "/" + name; }
  std::string OutFolder() const { return home.File("out"); }
  std::string Out(const std::string& name) const { return OutFolder() + "/" + name; }

  TempDir home;
};

}  // namespace wcomp837::testing
