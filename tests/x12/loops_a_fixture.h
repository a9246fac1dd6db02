// A claim being written for the subscriber, payer, patient, claim header and
// claim provider loops: shared state with an open claim file and
// last-generation records filled by member index.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "claim/tables.h"
#include "host/state.h"
#include "support/test_support.h"
#include "x12/segments.h"

namespace wcomp837 {

class LoopsATest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_->host.gsASCIIFile = dir_.File("claims.ans");
    InitializeClaimTables(c_);
    o_.env.miHLCount = 1;
    o_.env.miProviderHL = 1;
    ASSERT_EQ(OpenASCIIout(c_), 0);
  }

  // The segments written so far (closes the claim file).
  std::vector<std::string> Segments() {
    CloseASCIIout(c_);
    std::string text = testing::ReadFile(g_->host.gsASCIIFile);
    std::string rest;
    std::vector<std::string> out = testing::SplitSegments(text, &rest);
    EXPECT_EQ(rest, "") << "text after the last terminator";
    return out;
  }

  // The written segments that begin with `prefix`.
  std::vector<std::string> SegmentsStartingWith(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& s : Segments()) {
      if (s.rfind(prefix, 0) == 0) out.push_back(s);
    }
    return out;
  }

  bool HasError(const std::string& part) const {
    for (const MessageEntry& m : g_->host.gMessageArray) {
      if (m.iMsgType == 3 && m.sMsgText.find(part) != std::string::npos) return true;
    }
    return false;
  }

  // Sets members of a record by index and marks it received.
  template <std::size_t N>
  static void Fill(Rec<N>& rec, std::initializer_list<std::pair<std::size_t, std::string>> values) {
    if (rec[0].empty()) rec[0] = "TAG";
    for (const auto& [member, value] : values) rec[member] = value;
  }

  TopRecords& top() { return g_->g_LastTop; }
  ChargeGroup& group() { return g_->g_LastGroup(); }
  ChargeRec& charge() { return g_->g_LastGroup().Charge; }

  testing::TempDir dir_;
  std::unique_ptr<SharedState> g_ = std::make_unique<SharedState>();
  ObjectState o_;
  Ctx c_{*g_, o_};
};

}  // namespace wcomp837
