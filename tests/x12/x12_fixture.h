// A claim file being written on a local state with a fixed clock, read back
// as segments, and helpers to fill the host's records for the loop writers.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "claim/state.h"
#include "claim/tables.h"
#include "platform/clock.h"
#include "support/test_support.h"
#include "x12/line_loops.h"
#include "x12/loops.h"
#include "x12/segments.h"

namespace wcomp837::testing {

using Strings = std::vector<std::string>;

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
  // The segments written since the file was opened, those beginning with
  // prefix; the file is then opened again, empty, for the next case.
  Strings Segments(const std::string& prefix = "") {
    CloseASCIIout(c);
    std::string rest;
    const Strings all = SplitSegments(ReadFile(g.host.gsASCIIFile), &rest);
    EXPECT_EQ(rest, "") << "text after the last terminator";
    EXPECT_EQ(OpenASCIIout(c), 0);
    Strings out;
    for (const std::string& s : all) {
      if (s.rfind(prefix, 0) == 0) out.push_back(s);
    }
    return out;
  }
  bool HasError(const std::string& part) const {
    for (const MessageEntry& m : g.host.gMessageArray) {
      if (m.iMsgType == 3 && m.sMsgText.find(part) != std::string::npos) return true;
    }
    return false;
  }

  TempDir dir;
  std::unique_ptr<SharedState> state = std::make_unique<SharedState>();
  SharedState& g = *state;
  ObjectState o;
  Ctx c{g, o};
};

// A claim of one charge group with the claim tables set up.
class LoopsTest : public ClaimFileTest {
 protected:
  void SetUp() override {
    ClaimFileTest::SetUp();
    InitializeClaimTables(c);
    o.env.miHLCount = 1;
    o.env.miProviderHL = 1;
  }
  // Sets members of a record by index and marks it received.
  template <std::size_t N>
  static void Fill(Rec<N>& rec, std::initializer_list<std::pair<std::size_t, std::string>> values) {
    if (rec[0].empty()) rec[0] = "TAG";
    for (const auto& [member, value] : values) rec[member] = value;
  }
  TopRecords& top() { return g.records.g_LastTop; }
  ChargeGroup& group() { return g.g_LastGroup(); }
  ChargeRec& charge() { return g.g_LastGroup().Charge; }

  // Line i of the table, marked used, with a plain one-unit office visit.
  DetailLine& Line(std::int16_t i) {
    DetailLine& line = g.claim.DETAILArray.at(static_cast<std::size_t>(i));
    line = DetailLine{};
    line.Group = std::make_unique<ChargeGroup>();
    line.sUsed = "Y";
    line.sProcedureCode = "99213";
    line.curCharge = Currency::FromUnits(100);
    line.sngUnits = 1.0f;
    line.sPlaceOfService = "11";
    line.sFromDate = line.sToDate = line.Group->Charge[Charge::sFromDate] = "01152023";
    line.sExtKeys = "~~";
    line.iDiagPointer = {1, 0, 0, 0, 0};
    return line;
  }
  // The claim is billed to insurance `index` (1 = primary).
  void BillTo(const std::string& index) {
    charge()[Charge::sBillingInsIndex] = index;
    g.claim.mClaim.sClaimPlaceOfService = "11";
  }
  // Other insurance n of the last group: received, with a payer and an insured.
  OInsuranceRec& OtherInsurance(std::size_t n) {
    namespace O = OInsurance;
    const std::string k = std::to_string(n);
    OInsuranceRec& oi = group().OIns[n];
    Fill(oi, {{O::sRecordTag, "63" + k + "0"},
              {O::sInsuranceCode, "INS" + k},
              {O::sPayerId, "PAYER" + k},
              {O::sPayerName, "PAYER NUMBER " + k},
              {O::sRelationship, "SLF"},
              {O::sLastName, "DOE"},
              {O::sFirstName, "JANE"},
              {O::sMemberIdPart1, "M"},
              {O::sMemberIdPart2, k},
              {O::sGender, "F"},
              {O::sBirthDate, "04021970"},
              {O::sInsuranceCategoryCd, "CI"}});
    return oi;
  }
  // The claim-level payment record of insurance n, marked used.
  InsInfo& ClaimInsurance(std::int16_t n) {
    InsInfo& info = g.claim.mClaim.oClaimInsInfo.GetInsInfo(n);
    info.bUsed = true;
    return info;
  }
};

}  // namespace wcomp837::testing
