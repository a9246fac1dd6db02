// A claim file on a local state with a fixed clock, read back as segments.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/state.h"
#include "platform/clock.h"
#include "support/test_support.h"
#include "x12/segments.h"

namespace wcomp837::testing {

// Splits on a one-character separator.
inline std::vector<std::string> SplitOn(const std::string& text, char sep) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t p; (p = text.find(sep, start)) != std::string::npos; start = p + 1) {
    out.push_back(text.substr(start, p - start));
  }
  out.push_back(text.substr(start));
  return out;
}

class ClaimFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFixedClock(DateTime{2026, 3, 7, 9, 5, 4});
    g.host.gsASCIIFile = dir.File("batch.ans");
    ASSERT_EQ(OpenASCIIout(c), 0);
  }
  void TearDown() override {
    SetWriteFaultForTesting(nullptr);
    SetFixedClock(std::nullopt);
  }
  // Closes the claim file and answers its segments.
  std::vector<std::string> Segments() {
    CloseASCIIout(c);
    std::string text = ReadFile(g.host.gsASCIIFile);
    if (text.empty()) return {};
    EXPECT_EQ(text.back(), '~');
    auto segs = SplitOn(text.substr(0, text.size() - 1), '~');
    return segs;
  }

  TempDir dir;
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

}  // namespace wcomp837::testing
