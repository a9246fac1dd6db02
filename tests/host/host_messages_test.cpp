// HereIsAMessage: every key, its effect and its result.
#include "host_fixture.h"
#include "state/messages.h"

namespace wcomp837::testing {
namespace {

const std::string kDll = "QZK_WCOMP_P4_Format.Dll";

TEST_F(HostTest, ClaimFileNeedsTheOutputFolderFirst) {
  EXPECT_EQ(fc->HereIsAMessage("2", "claims.837"), 3);
  EXPECT_EQ(Messages(), std::vector<std::string>{" 3//Output Path was not set. " + kDll +
                                                 " doesn't know where to read/write files//"});
  EXPECT_EQ(Host().gsASCIIFile, "?");

  Configure();
  EXPECT_EQ(Host().gsOutputPath, dir.path());
  EXPECT_EQ(Host().gsASCIIFile, dir.path() + "/claims.837");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(HostTest, AdjustmentsNeedTenCharacters) {
  EXPECT_EQ(fc->HereIsAMessage("4", "0012-0034-"), 0);
  EXPECT_FLOAT_EQ(Host().gsngAdjustment1, -12.0f);
  EXPECT_FLOAT_EQ(Host().gsngAdjustment2, -34.0f);
  EXPECT_EQ(fc->HereIsAMessage("4", "1.5 +0002+XYZ"), 0);
  EXPECT_FLOAT_EQ(Host().gsngAdjustment1, 1.5f);
  EXPECT_FLOAT_EQ(Host().gsngAdjustment2, 2.0f);
  EXPECT_EQ(fc->HereIsAMessage("4", "0099-0099"), 0);  // nine characters: no change
  EXPECT_FLOAT_EQ(Host().gsngAdjustment1, 1.5f);
}

TEST_F(HostTest, TestClaimLimits) {
  struct Case {
    std::string value;
    std::int16_t start, end;
    bool on;
  };
  for (const Case& c : {Case{"//", 0, 0, false}, Case{"0//3", 1, 3, true}, Case{"5//", 5, 0, false},
                        Case{"2//9", 2, 9, true}, Case{" 7.5//8.5", 8, 8, true}}) {
    EXPECT_EQ(fc->HereIsAMessage("6", c.value), 0) << c.value;
    EXPECT_EQ(Host().giTestClaims_Starting, c.start) << c.value;
    EXPECT_EQ(Host().giTestClaims_Ending, c.end) << c.value;
    EXPECT_EQ(Host().gbTestClaims, c.on) << c.value;
  }
}

TEST_F(HostTest, BadTestClaimValuesFailWithTheHostMessageText) {
  EXPECT_EQ(fc->HereIsAMessage("6", "3"), 3);
  const std::string missing = kDll + "  HereIsAMessage()  Error:  9 Subscript out of range";
  EXPECT_EQ(Messages(), std::vector<std::string>{" 3//" + missing + "//"});
  EXPECT_EQ(fc->msErrorMsg(), missing);

  EXPECT_EQ(fc->HereIsAMessage("6", "1//40000"), 3);
  EXPECT_EQ(fc->msErrorMsg(), kDll + "  HereIsAMessage()  Error:  6 Overflow");
  EXPECT_EQ(fc->HereIsAMessage("9", "-32769"), 3);
  EXPECT_EQ(fc->msErrorMsg(), kDll + "  HereIsAMessage()  Error:  6 Overflow");
}

TEST_F(HostTest, InformationKeysAnswerOneWithTheirMessage) {
  EXPECT_EQ(fc->HereIsAMessage("VER", ""), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{" 1//1306.4.1//"});
  EXPECT_EQ(fc->HereIsAMessage("HOW_MANY_CLAIMS", ""), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{" 1//TOTALCLAIMS//0//"});
  EXPECT_EQ(fc->HereIsAMessage("8", "ignored"), 1);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{" 1//Summary//Secondaries Missing Adjustment Reason Codes//"});
  // Keys are compared exactly.
  EXPECT_EQ(fc->HereIsAMessage("ver", ""), 0);
  EXPECT_EQ(fc->HereIsAMessage("how_many_claims", ""), 0);
  EXPECT_EQ(fc->HereIsAMessage("10", ""), 0);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(HostTest, ConnectionStringAnswersZeroWhateverTheOutcome) {
  EXPECT_EQ(fc->HereIsAMessage("CONNECTIONSTRING", "NO_SUCH_DSN_FOR_TESTS"), 0);
  EXPECT_EQ(Host().gsConnectionString, "DSN=NO_SUCH_DSN_FOR_TESTS;UID=qeladmin;PWD=t4mx9kz2pd7w");
  EXPECT_FALSE(Host().gbDBConnectionIsGood);
}

TEST_F(HostTest, ReportMessageDeletesTheLogFirst) {
  Configure();
  EXPECT_EQ(fc->HereIsAMessage("5", "2"), 0);
  ASSERT_TRUE(FileExists(dir.File("QZK_WCOMP_P4_Format.Log")));
  EXPECT_EQ(fc->HereIsAMessage("9", "0"), 0);  // report 0 prints nothing
  EXPECT_FALSE(FileExists(dir.File("QZK_WCOMP_P4_Format.Log")));
  EXPECT_FALSE(Host().LogFile.IsOpen());
  EXPECT_EQ(Host().giLogLevel, 0);

  EXPECT_EQ(fc->HereIsAMessage("9", "7"), 3);
  EXPECT_EQ(Host().giReportNr, 7);
  EXPECT_EQ(Messages(), std::vector<std::string>{" 3//Doesn't offer a report with Number:  7//"});
}

TEST_F(HostTest, DeleteBatchRemovesOnlyTheNACFile) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  ASSERT_EQ(fc->ProcessEndOfFile(), 0);
  ASSERT_TRUE(FileExists(NACFile()));
  EXPECT_EQ(fc->HereIsAMessage("DELETEBATCH", ""), 0);
  EXPECT_FALSE(FileExists(NACFile()));
  EXPECT_TRUE(FileExists(ClaimFile()));
  EXPECT_EQ(fc->HereIsAMessage("DELETEBATCH", ""), 0);  // a missing file is no error
}

TEST_F(HostTest, LogLevelMessage) {
  Configure();
  EXPECT_EQ(fc->HereIsAMessage("5", "1"), 0);
  const std::string header =
      "\"***\"\r\n"
      "\"*** Opened on: Sunday, December 6, 2026 06:10:43\"\r\n"
      "\"***\"\r\n"
      "\"giTestClaims_Starting =  0\"\r\n"
      "\"giTestClaims_Ending =  0\"\r\n";
  const std::string dbLine = "\" >>>>> gbDBConnectionIsGood = False\"\r\n";
  // Level 1: the header only.
  EXPECT_EQ(fc->HereIsAMessage("5", "2"), 0);  // already open: no second header
  EXPECT_EQ(fc->HereIsAMessage("5", "2"), 0);
  EXPECT_EQ(fc->HereIsAMessage("5", "3"), 0);  // level 0, the log stays open
  EXPECT_EQ(Host().giLogLevel, 0);
  EXPECT_TRUE(Host().LogFile.IsOpen());
  EXPECT_EQ(fc->HereIsAMessage("DELETEBATCH", ""), 0);  // logs nothing at level 0
  EXPECT_EQ(fc->ProcessEndOfFile(), 0);
  const std::string log = Log();
  EXPECT_EQ(log.substr(0, header.size() + 2 * dbLine.size()), header + dbLine + dbLine);
  EXPECT_EQ(log.find("trying to delete"), std::string::npos);
}

TEST_F(HostTest, LogInAMissingFolderIsReportedAndTheBatchGoesOn) {
  EXPECT_EQ(fc->HereIsAMessage("1", dir.File("missing")), 0);
  EXPECT_EQ(fc->HereIsAMessage("5", "2"), 0);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{" 3//" + kDll + " OpenLog()  Error:  76 Path not found//"});
  EXPECT_FALSE(Host().LogFile.IsOpen());
}

}  // namespace
}  // namespace wcomp837::testing
