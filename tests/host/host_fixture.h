// A component in a temporary output folder with a fixed clock, no override
// file and a scripted prompt; helpers to build keys and records.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/shared_state.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/prompt.h"
#include "support/test_support.h"
#include "wcomp837/format_class.h"

namespace wcomp837::testing {

inline const std::string kDll = "QZK_WCOMP_P4_Format.Dll";

// Answers Yes/No from a script and remembers what it was asked.
class ScriptedPrompt : public UserPrompt {
 public:
  explicit ScriptedPrompt(bool answer) : answer_(answer) {}
  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back(title + "|" + text);
    return answer_;
  }
  void Notify(const std::string&, const std::string&) override {}
  std::vector<std::string> questions;

 private:
  bool answer_;
};

// A record key of eleven fields: submission number in field 3, type in 10.
inline std::string Key(const std::string& type, const std::string& submission = "17") {
  return "K0//K1//K2//" + submission + "//K4//K5//K6//K7//K8//K9//" + type;
}

// A record of n fields: the tag, then the given values, then "Fi" fillers.
inline std::string Rec(std::size_t n, const std::vector<std::pair<std::size_t, std::string>>& set,
                       const std::string& tag = "T") {
  std::vector<std::string> f(n);
  f[0] = tag;
  for (std::size_t i = 1; i < n; ++i) f[i] = "F" + std::to_string(i);
  for (const auto& [i, v] : set) f[i] = v;
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += (i ? "//" : "") + f[i];
  return out;
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFixedClock(DateTime{2026, 12, 6, 6, 10, 43});
    SetOverrideFilePathForTesting(dir.File("override.txt"));
    prompt = std::make_shared<ScriptedPrompt>(false);
    SetUserPrompt(prompt);
    fc = std::make_unique<Format_Class>();
  }
  void TearDown() override {
    fc.reset();
    SetWriteFaultForTesting(nullptr);
    SetUserPrompt(nullptr);
    SetOverrideFilePathForTesting(std::nullopt);
    SetFixedClock(std::nullopt);
  }

  // Output folder and claim file name set.
  void Configure() {
    ASSERT_EQ(fc->HereIsAMessage("1", dir.path()), 0);
    ASSERT_EQ(fc->HereIsAMessage("2", "claims.837"), 0);
  }
  // A fresh object, configured, that has taken the practice record.
  void StartBatch(bool freshObject = false) {
    if (freshObject) fc = std::make_unique<Format_Class>();
    Configure();
    ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (std::int32_t i = 1;; ++i) {
      std::string m = fc->GetAMessage(i);
      if (m == "END") break;
      out.push_back(m);
    }
    return out;
  }
  const HostState& Host() const { return CurrentSharedState()->host; }
  SharedState& State() { return *AcquireSharedState(); }
  std::string Log() const { return ReadFile(dir.File("QZK_WCOMP_P4_Format.Log")); }
  std::string ClaimFile() const { return dir.File("claims.837"); }
  std::string NACFile() const { return dir.File("claims.837_NAC.Dat"); }
  // The run log's first lines at level 2 without a database.
  static std::string LogHeader() {
    return "\"***\"\r\n\"*** Opened on: Sunday, December 6, 2026 06:10:43\"\r\n\"***\"\r\n"
           "\"giTestClaims_Starting =  0\"\r\n\"giTestClaims_Ending =  0\"\r\n"
           "\" >>>>> gbDBConnectionIsGood = False\"\r\n";
  }

  // A practice record with every mandatory field.
  static std::string PracticeRecord(const std::string& code = "PR01") {
    return Rec(21, {{1, code}, {2, "RIVERSIDE ORTHOPEDICS"}}, "1000");
  }
  static std::string ChargeRecord(const std::string& billingInsIndex,
                                  const std::string& pos = "11") {
    return Rec(88, {{25, pos}, {70, billingInsIndex}}, "6000");
  }

  TempDir dir;
  std::shared_ptr<ScriptedPrompt> prompt;
  std::unique_ptr<Format_Class> fc;
};

}  // namespace wcomp837::testing
