// A component's working state for the reference-data routines, with its own
// component folder (settings files) and run log.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "claim/state.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "refdata/lookups.h"
#include "state/messages.h"
#include "support/test_support.h"

namespace wcomp837::testing {

inline constexpr const char* kPassword = "t4mx9kz2pd7w";

class RefHarness {
 public:
  RefHarness() { SetComponentFolderForTesting(folder.path()); }
  RefHarness(const RefHarness&) = delete;
  RefHarness& operator=(const RefHarness&) = delete;
  ~RefHarness() {
    SetComponentFolderForTesting(std::nullopt);
    SetFixedClock(std::nullopt);
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (std::size_t i = 1; i < g.host.gMessageArray.size(); ++i) {
      if (g.host.gMessageArray[i].iMsgType == 0) break;
      EXPECT_EQ(g.host.gMessageArray[i].iMsgType, kMsgError);
      texts.push_back(g.host.gMessageArray[i].sMsgText);
    }
    return texts;
  }
  void WriteSetting(const std::string& name, const std::string& content) {
    WriteFile(folder.File(name), content);
  }
  bool Passed(const std::string& payerId, const std::string& insuranceCode) {
    NPILegacyDate(c, payerId, insuranceCode);
    return g.ref.LegacyDatePassed;
  }

  TempDir folder;
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

class RefTest : public ::testing::Test, public RefHarness {};

}  // namespace wcomp837::testing
