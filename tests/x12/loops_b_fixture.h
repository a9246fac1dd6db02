// A claim being written: shared state with an open claim file in a temporary
// folder, a service line table and last-generation records to fill.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "claim/tables.h"
#include "host/state.h"
#include "reports/nac_file.h"
#include "support/test_support.h"
#include "x12/line_loops.h"
#include "x12/loops.h"
#include "x12/segments.h"

namespace wcomp837 {

class LoopsBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_->host.gsASCIIFile = dir_.File("claims.ans");
    InitializeClaimTables(c_);
    ASSERT_EQ(OpenASCIIout(c_), 0);
  }

  // The segments written since the claim file was last opened; the file is
  // then recreated empty for the next case.
  std::vector<std::string> Segments() {
    CloseASCIIout(c_);
    std::string text = testing::ReadFile(g_->host.gsASCIIFile);
    EXPECT_EQ(OpenASCIIout(c_), 0);
    std::string rest;
    std::vector<std::string> out = testing::SplitSegments(text, &rest);
    EXPECT_EQ(rest, "") << "text after the last terminator";
    return out;
  }

  // Those of them that begin with prefix.
  std::vector<std::string> Segments(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& s : Segments()) {
      if (s.rfind(prefix, 0) == 0) out.push_back(s);
    }
    return out;
  }

  // Line i of the table, marked used, with a plain one-unit office visit.
  DetailLine& Line(std::int16_t i) {
    DetailLine& line = g_->claim.DETAILArray.at(static_cast<std::size_t>(i));
    line = DetailLine{};
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
    g_->g_LastGroup().Charge[Charge::sBillingInsIndex] = index;
    g_->claim.mClaim.sClaimPlaceOfService = "11";
  }

  // Sets members of a record.
  template <std::size_t N>
  static void Set(Rec<N>& rec, std::initializer_list<std::pair<std::size_t, std::string>> values) {
    for (const auto& [member, value] : values) rec[member] = value;
  }

  // Other insurance n of the last group: received, with a payer and an insured.
  OInsuranceRec& OtherInsurance(std::size_t n) {
    namespace O = OInsurance;
    const std::string k = std::to_string(n);
    OInsuranceRec& oi = g_->g_LastGroup().OIns[n];
    Set(oi, {{O::sRecordTag, "63" + k + "0"},
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

  bool HasMessage(const std::string& part) const {
    for (const MessageEntry& m : g_->host.gMessageArray) {
      if (m.iMsgType == 3 && m.sMsgText.find(part) != std::string::npos) return true;
    }
    return false;
  }

  testing::TempDir dir_;
  std::unique_ptr<SharedState> g_ = std::make_unique<SharedState>();
  ObjectState o_;
  Ctx c_{*g_, o_};
};

}  // namespace wcomp837
