// The _NAC.Dat file: practice headers, records, the closing remark and the
// failures of its writing.
#include "reports/nac_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "claim/state.h"
#include "platform/clock.h"
#include "state/messages.h"
#include "support/test_support.h"

namespace wcomp837::testing {
namespace {

class NACFile : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFixedClock(DateTime{2026, 3, 7, 14, 5, 9});
    g.host.gsASCIIFile = dir.File("B1.ANS");
    WriteFile(dir.File("B1.ANS_NAC.Dat"), "old content\r\n");
    g.host.bNACRecordWritten = true;
    ASSERT_EQ(OpenNACFileOut(g.host, g.writer.ASCIIFile), 0);
    Practice("P01", "VALLEY CLINIC");
  }
  void TearDown() override {
    SetWriteFaultForTesting(nullptr);
    SetFixedClock(std::nullopt);
  }
  void Practice(const char* code, const char* name) {
    g.records.g_ThisTop.Practice[Practice::sPracticeCode] = code;
    g.records.g_ThisTop.Practice[Practice::sName] = name;
    ASSERT_EQ(WriteNACPracticeHeader(g.host, g.records.g_ThisTop.Practice, o.msLastNACPractice), 0);
    EXPECT_EQ(o.msLastNACPractice, code);
  }
  static std::string Header(const std::string& practiceLine) {
    return "\"3/7/2026 2:05:09 PM\"\r\n\"" + practiceLine +
           "\"\r\n\" \"\r\n\"This is a list of patients who have secondaries missing "
           "Adjustment Reason Codes\"\r\n\"\"\r\n\"Patient                                 "
           "         SrvDate   Proc    Ins\"\r\n\"" +
           std::string(70, '-') + "\"\r\n\"\"\r\n";
  }
  std::string Closed() {
    EXPECT_EQ(CloseNACFile(g.host), 0);
    return ReadFile(dir.File("B1.ANS_NAC.Dat"));
  }

  TempDir dir;
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

// A practice without records gets the closing remark, one with records none;
// a closed file takes nothing more.
TEST_F(NACFile, RecordsUnderTheirPracticeHeadersOrTheClosingRemark) {
  EXPECT_FALSE(g.host.bNACRecordWritten);
  ASSERT_EQ(WriteNACClosingRemark(g.host), 0);
  Practice("P02", "HILL \"EAST\" CLINIC");  // a quote would end the quoted item
  ASSERT_EQ(WriteNACRecord(g.host, "REC TWO"), 0);
  EXPECT_TRUE(g.host.bNACRecordWritten);
  WriteNACClosingRemark(g.host);
  EXPECT_EQ(Closed(), Header("P01 VALLEY CLINIC") +
                          "\"No secondaries without Adjustment Reason Codes were found.\"\r\n" +
                          Header("P02 HILL 'EAST' CLINIC") + "\"REC TWO\"\r\n");
  EXPECT_EQ(CloseNACFile(g.host), 0) << "closing a closed file does nothing";
  g.host.bNACRecordWritten = false;
  EXPECT_EQ(WriteNACRecord(g.host, "LOST"), 0);
  EXPECT_FALSE(g.host.bNACRecordWritten) << "nothing written to a closed file";
}

TEST_F(NACFile, RecordColumnsAreCutToTheirWindows) {
  PatientRec pat{};
  pat[Patient::sAccountNr] = " 10045 ";
  pat[Patient::sLastName] = "SMITH ";
  pat[Patient::sFirstName] = " ANN";
  ChargeRec ch{};
  ch[Charge::sFromDate] = "03012026";
  ch[kChargeField5] = "99213";
  OInsuranceRec oi{};
  oi[OInsurance::sInsuranceCode] = "BCBS01";
  EXPECT_EQ(FormatNACRecord(pat, ch, oi), "10045 SMITH, ANN" + std::string(33, ' ') +
                                              "03012026  99213   BCBS01" + std::string(12, ' '));
  pat[Patient::sLastName] = "A-VERY-LONG-FAMILY-NAME-THAT-RUNS-PAST-THE-WINDOW";
  ch[Charge::sFromDate] = "03012026X";
  ch[kChargeField5] = "9921325";
  oi[OInsurance::sInsuranceCode] = "INSURANCE-CODE";
  EXPECT_EQ(FormatNACRecord(pat, ch, oi),
            "10045 A-VERY-LONG-FAMILY-NAME-THAT-RUNS-PAST-    03012026  99213   INSURANCE-" +
                std::string(8, ' '));
}

TEST_F(NACFile, FailuresAreReportedNeverSuccess) {
  WriteNACRecord(g.host, "REC");
  SetWriteFaultForTesting([](const std::string&) { return ENOSPC; });
  EXPECT_EQ(CloseNACFile(g.host), 3);
  ASSERT_EQ(MessageCount(g.host), 2);
  EXPECT_NE(g.host.gMessageArray[1].sMsgText.find(" CloseNACFile()  Error: "), std::string::npos);
  EXPECT_EQ(g.host.gMessageArray[2].sMsgText, "File: " + NACFileName(g.host));

  SetWriteFaultForTesting(nullptr);
  ClearMessageArray(g.host);
  g.host.gsASCIIFile = dir.File("missing-folder/B1.ANS");
  EXPECT_EQ(OpenNACFileOut(g.host, g.writer.ASCIIFile), 3);
  EXPECT_NE(g.host.gMessageArray[1].sMsgText.find(" OpenNACFileOut()  Error: "), std::string::npos);
}

}  // namespace
}  // namespace wcomp837::testing
