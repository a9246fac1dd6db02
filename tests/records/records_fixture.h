// A context for the record tests, and record texts built from numbered fields.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "support/test_support.h"

namespace wcomp837::testing {

using Edits = std::vector<std::pair<std::size_t, std::string>>;

// A record of n fields "F0" ... "F<n-1>" (capitals and digits pass the
// punctuation filter unchanged) with some fields replaced.
inline std::string Record(std::size_t n, const Edits& edits = {}) {
  std::vector<std::string> fields;
  for (std::size_t i = 0; i < n; ++i) fields.push_back("F" + std::to_string(i));
  for (const auto& [i, value] : edits) fields.at(i) = value;
  std::string text;
  for (std::size_t i = 0; i < n; ++i) text += (i ? "//" : "") + fields[i];
  return text;
}

class RecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetComponentFolderForTesting(dir_.path());
    WriteFile(dir_.File("QBEX_ALT_PRACTICENAME.DAT"), "");
    SetFixedClock(DateTime{2026, 12, 6, 8, 0, 0});
  }
  void TearDown() override {
    SetFixedClock(std::nullopt);
    SetComponentFolderForTesting(std::nullopt);
  }
  void OpenTestLog() {
    g().host.gsOutputPath = dir_.path();
    g().host.giLogLevel = 2;
    OpenLog(g().host);
  }
  std::string CloseTestLog() {
    CloseLog(g().host);
    return ReadFile(LogFileName(g().host));
  }
  std::size_t Messages() const { return static_cast<std::size_t>(MessageCount(g().host)); }
  const std::string& MessageText(std::size_t i) const { return g().host.gMessageArray[i].sMsgText; }

  SharedState& g() const { return state_->g; }
  Ctx& c() { return state_->c; }
  TempDir dir_;

 private:
  struct State {
    SharedState g;
    ObjectState o;
    Ctx c{g, o};
  };
  std::unique_ptr<State> state_ = std::make_unique<State>();
};

}  // namespace wcomp837::testing
