// ProcessEndOfFile, ProcessFormattedRecords, and failures to write the
// run log or the _NAC.Dat file.
#include <cerrno>

#include "host_fixture.h"

namespace wcomp837::testing {
namespace {

const std::string kDll = "QZK_WCOMP_P4_Format.Dll";

TEST_F(HostTest, EndOfABatchWithoutCharges) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  EXPECT_EQ(fc->ProcessEndOfFile(), 0);
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(Host().LogFile.IsOpen());
  EXPECT_FALSE(Host().NACFile.IsOpen());
  EXPECT_EQ(ReadFile(ClaimFile()), "");  // no claim and no trailer
  const std::string nac = ReadFile(NACFile());
  EXPECT_NE(nac.find("\"No secondaries without Adjustment Reason Codes were found.\""),
            std::string::npos);
  EXPECT_EQ(nac.find("\"PR01 RIVERSIDE ORTHOPEDICS\""), nac.find("\"PR01"));
  const std::string log = Log();
  EXPECT_NE(log.find("\"VC++ says there was a Fatal Error (or zero records)\"\r\n"
                     "\"trying to close _nac.dat file\"\r\n\"***\"\r\n\"*** Closed on: "),
            std::string::npos);
  EXPECT_EQ(fc->ProcessFormattedRecords(), 0);
}

TEST_F(HostTest, FatalErrorSkipsTheClaimsButClosesTheFiles) {
  Configure();
  ASSERT_EQ(fc->HereIsAMessage("3", "Y"), 0);
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6000"), ChargeRecord("1")), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6990"), "6990"), 0);
  EXPECT_EQ(fc->ProcessEndOfFile(), 0);
  EXPECT_NE(Log().find("\"gbThereWasAFatalError = True\"\r\n\"VC++ says"), std::string::npos);
  EXPECT_EQ(ReadFile(ClaimFile()), "");
}

TEST_F(HostTest, FinalCheckNeedsTheClaimFileName) {
  EXPECT_EQ(fc->ProcessFormattedRecords(), 1);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{" 3//ASCII file name and path were not set. " + kDll +
                                     " doesn't know what file to read/write.//"});
  Configure();
  EXPECT_EQ(fc->ProcessFormattedRecords(), 0);
}

// The log is buffered: a failure to write it surfaces when it is flushed,
// and is reported by the routine that was writing.
TEST_F(HostTest, LogWriteFailureAtCloseIsReported) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  SetWriteFaultForTesting(
      [](const std::string& path) { return path.find(".Log") != std::string::npos ? ENOSPC : 0; });
  EXPECT_EQ(fc->ProcessEndOfFile(), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{" 3//" + kDll + " CloseLog()  61 Disk full//"});
  EXPECT_FALSE(Host().LogFile.IsOpen());
}

TEST_F(HostTest, LogWriteFailureMidBatchIsReportedOnceAndTheBatchGoesOn) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  SetWriteFaultForTesting(
      [](const std::string& path) { return path.find(".Log") != std::string::npos ? EIO : 0; });
  // A record larger than the log's buffer forces a write.
  const std::string big = Rec(30, {{3, std::string(100'000, 'N')}}, "1050");
  EXPECT_EQ(fc->FormatRecord(Key("1050"), big), 3);
  EXPECT_EQ(Messages().front(),
            " 3//" + kDll + " Had a problem in FormatRecord() Error:  75 Path/File access error//");
  EXPECT_FALSE(Host().LogFile.IsOpen());
  EXPECT_EQ(fc->FormatRecord(Key("1050"), big), 0);
  EXPECT_EQ(fc->ProcessEndOfFile(), 0);
  EXPECT_TRUE(FileExists(NACFile()));
}

TEST_F(HostTest, NACFileFailureAtTheEndIsReported) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  SetWriteFaultForTesting([](const std::string& path) {
    return path.find("_NAC.Dat") != std::string::npos ? ENOSPC : 0;
  });
  EXPECT_EQ(fc->ProcessEndOfFile(), 1);
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages().front().find("61 Disk full"), std::string::npos);
  EXPECT_NE(Log().find("\"ProcessEndOfFile:  Had extra messages in error array\""),
            std::string::npos);
}

}  // namespace
}  // namespace wcomp837::testing
