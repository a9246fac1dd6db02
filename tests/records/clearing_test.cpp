// Clearing the record structures and the generations.
#include "records/parsers.h"
#include "records_fixture.h"

namespace wcomp837::testing {
namespace {

using ClearingTest = RecordsTest;
using Members = std::vector<std::size_t>;

template <std::size_t N>
Members Filled(const Rec<N>& rec) {
  Members out;
  for (std::size_t m = 0; m < N; ++m) {
    if (!rec[m].empty()) out.push_back(m);
  }
  return out;
}

TEST_F(ClearingTest, EmptyThisGroupKeepsOnlyTheDocumentedMembers) {
  ChargeGroup& grp = g().g_ThisGroup;
  grp.Charge.fill("X");
  for (auto& ext : grp.ExtData) ext.fill("X");
  grp.Ambulance.fill("X");
  grp.SProvider.fill("X");
  grp.Referral.fill("X");
  grp.OReferral.fill("X");
  grp.Facility.fill("X");
  for (auto& oi : grp.OIns) oi.fill("X");
  grp.CustomForms->AddTail(CCFormInfo{"CMS-849", "AMBULATE", "", "Y", ""});
  const auto oldForms = grp.CustomForms;

  OpenTestLog();
  EmptyThisGroup(c());
  EmptyLastTop(c());
  const std::string log = CloseTestLog();
  EXPECT_EQ(Filled(grp.Charge).size(), Charge::kMembers - 1);  // only the received mark goes
  for (const auto& ext : grp.ExtData) EXPECT_EQ(Filled(ext), Members{});
  EXPECT_EQ(Filled(grp.Ambulance), Members{});
  EXPECT_EQ(Filled(grp.SProvider), (Members{32, 33, 34}));
  EXPECT_EQ(Filled(grp.Referral), Members{});
  EXPECT_EQ(Filled(grp.OReferral), Members{38});
  EXPECT_EQ(Filled(grp.Facility), Members{18});
  for (std::size_t k = 1; k <= 4; ++k) {
    EXPECT_EQ(Filled(grp.OIns[k]), (Members{70, 71, 72, 73, 75, 76, 77, 78}));
  }
  EXPECT_EQ(grp.CustomForms->GetCustomFormInfo(1).sChargeCustomForm, "");
  EXPECT_EQ(oldForms->GetCustomFormInfo(1).sAnswerValue, "Y");  // a copy holding it keeps it
  for (const char* line : {"\"EmptyThisGroup()\"", "\"EmptyLastTop()\"",
                           "\">> ClearReferralStruct()   Referral is now empty\""}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }

  ClearChargeRec(grp.Charge);
  EXPECT_EQ(Filled(grp.Charge), Members{Charge::sRecordTagPart3});
}

TEST_F(ClearingTest, EmptyTopClearsReceivedMarksAndExtData) {
  TopRecords& top = g().g_ThisTop;
  top.Practice.fill("X");
  top.Subscriber.fill("X");
  for (auto& ext : top.ExtData) ext.fill("X");
  EmptyThisTop(c());
  EXPECT_FALSE(Received(top.Practice) || Received(top.Subscriber));
  EXPECT_EQ(top.Practice[Practice::sName], "X");
  for (const auto& ext : top.ExtData) EXPECT_EQ(Filled(ext), Members{});
}

}  // namespace
}  // namespace wcomp837::testing
