// HereIsAMessage: every key, its effect and its result; the message list as
// the host reads it through GetAMessage; creation, the per-thread shared
// state and the override question.
#include "host_fixture.h"
#include "state/messages.h"

namespace wcomp837::testing {
namespace {

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

// Adjustments need ten characters; fewer change nothing.
TEST_F(HostTest, AdjustmentsNeedTenCharacters) {
  const std::tuple<const char*, float, float> kCases[] = {
      {"0012-0034-", -12.0f, -34.0f}, {"1.5 +0002+XYZ", 1.5f, 2.0f}, {"0099-0099", 1.5f, 2.0f}};
  for (const auto& [value, first, second] : kCases) {
    EXPECT_EQ(fc->HereIsAMessage("4", value), 0) << value;
    EXPECT_FLOAT_EQ(Host().gsngAdjustment1, first) << value;
    EXPECT_FLOAT_EQ(Host().gsngAdjustment2, second) << value;
  }
}

TEST_F(HostTest, TestClaimLimits) {
  const std::tuple<const char*, int, int, bool> kCases[] = {{"//", 0, 0, false},
                                                            {"0//3", 1, 3, true},
                                                            {"5//", 5, 0, false},
                                                            {"2//9", 2, 9, true},
                                                            {" 7.5//8.5", 8, 8, true}};
  for (const auto& [value, start, end, on] : kCases) {
    EXPECT_EQ(fc->HereIsAMessage("6", value), 0) << value;
    EXPECT_EQ(Host().giTestClaims_Starting, start) << value;
    EXPECT_EQ(Host().giTestClaims_Ending, end) << value;
    EXPECT_EQ(Host().gbTestClaims, on) << value;
  }
}

TEST_F(HostTest, BadNumbersFailWithTheHostMessageText) {
  EXPECT_EQ(fc->HereIsAMessage("6", "3"), 3);
  const std::string missing = kDll + "  HereIsAMessage()  Error:  9 Subscript out of range";
  EXPECT_EQ(Messages(), std::vector<std::string>{" 3//" + missing + "//"});
  EXPECT_EQ(fc->msErrorMsg(), missing);
  for (const auto& [key, value] : {std::pair{"6", "1//40000"}, std::pair{"9", "-32769"}}) {
    EXPECT_EQ(fc->HereIsAMessage(key, value), 3) << value;
    EXPECT_EQ(fc->msErrorMsg(), kDll + "  HereIsAMessage()  Error:  6 Overflow");
  }
}

// Information keys answer 1 with their message; keys are compared exactly.
TEST_F(HostTest, InformationKeysAnswerOneWithTheirMessage) {
  const std::pair<const char*, const char*> kCases[] = {
      {"VER", " 1//1306.4.1//"},
      {"HOW_MANY_CLAIMS", " 1//TOTALCLAIMS//0//"},
      {"8", " 1//Summary//Secondaries Missing Adjustment Reason Codes//"}};
  for (const auto& [key, message] : kCases) {
    EXPECT_EQ(fc->HereIsAMessage(key, "ignored"), 1) << key;
    EXPECT_EQ(Messages(), std::vector<std::string>{message});
  }
  for (const char* key : {"ver", "how_many_claims", "10"}) {
    EXPECT_EQ(fc->HereIsAMessage(key, ""), 0) << key;
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(HostTest, ConnectionStringAnswersZeroWhateverTheOutcome) {
  EXPECT_EQ(fc->HereIsAMessage("CONNECTIONSTRING", "NO_SUCH_DSN_FOR_TESTS"), 0);
  EXPECT_EQ(Host().gsConnectionString, "DSN=NO_SUCH_DSN_FOR_TESTS;UID=qeladmin;PWD=t4mx9kz2pd7w");
  EXPECT_FALSE(Host().gbDBConnectionIsGood);
}

// A report message deletes the run log first; DELETEBATCH removes only the
// _NAC.Dat file, and a missing one is no error.
TEST_F(HostTest, ReportAndDeleteBatchMessages) {
  StartBatch();
  ASSERT_EQ(fc->ProcessEndOfFile(), 0);
  EXPECT_EQ(fc->HereIsAMessage("5", "2"), 0);
  ASSERT_TRUE(FileExists(dir.File("QZK_WCOMP_P4_Format.Log")));
  EXPECT_EQ(fc->HereIsAMessage("9", "0"), 0);  // report 0 prints nothing
  EXPECT_FALSE(FileExists(dir.File("QZK_WCOMP_P4_Format.Log")));
  EXPECT_FALSE(Host().LogFile.IsOpen());
  EXPECT_EQ(Host().giLogLevel, 0);
  EXPECT_EQ(fc->HereIsAMessage("9", "7"), 3);
  EXPECT_EQ(Host().giReportNr, 7);
  EXPECT_EQ(Messages(), std::vector<std::string>{" 3//Doesn't offer a report with Number:  7//"});

  ASSERT_TRUE(FileExists(NACFile()));
  EXPECT_EQ(fc->HereIsAMessage("DELETEBATCH", ""), 0);
  EXPECT_FALSE(FileExists(NACFile()));
  EXPECT_TRUE(FileExists(ClaimFile()));
  EXPECT_EQ(fc->HereIsAMessage("DELETEBATCH", ""), 0);
}

// Level 1 writes the header only; an open log gets no second header; level 3
// means 0 and the log stays open.
TEST_F(HostTest, LogLevelMessage) {
  Configure();
  EXPECT_EQ(fc->HereIsAMessage("5", "1"), 0);
  EXPECT_EQ(fc->HereIsAMessage("5", "2"), 0);
  EXPECT_EQ(fc->HereIsAMessage("5", "2"), 0);
  EXPECT_EQ(fc->HereIsAMessage("5", "3"), 0);
  EXPECT_EQ(Host().giLogLevel, 0);
  EXPECT_TRUE(Host().LogFile.IsOpen());
  EXPECT_EQ(fc->HereIsAMessage("DELETEBATCH", ""), 0);  // logs nothing at level 0
  EXPECT_EQ(fc->ProcessEndOfFile(), 0);
  const std::string log = Log();
  const std::string dbLine = "\" >>>>> gbDBConnectionIsGood = False\"\r\n";
  // The header of level 1, then one line for each of the two level-2 messages.
  EXPECT_EQ(log.substr(0, LogHeader().size() + dbLine.size()), LogHeader() + dbLine);
  EXPECT_EQ(log.find("trying to delete"), std::string::npos);
}

TEST_F(HostTest, LogInAMissingFolderIsReportedAndTheBatchGoesOn) {
  EXPECT_EQ(fc->HereIsAMessage("1", dir.File("missing")), 0);
  EXPECT_EQ(fc->HereIsAMessage("5", "2"), 0);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{" 3//" + kDll + " OpenLog()  Error:  76 Path not found//"});
  EXPECT_FALSE(Host().LogFile.IsOpen());
}

TEST_F(HostTest, EmptyListAndOutOfRangeIndicesAnswerEnd) {
  for (std::int32_t i : {1, 0, -1, 11, 2147483647}) EXPECT_EQ(fc->GetAMessage(i), "END") << i;
}

TEST_F(HostTest, SelfDescriptionRowsInOrderAndListGrowsByTen) {
  EXPECT_EQ(fc->HereIsAMessage("BCM-1", ""), 1);
  // Every billing code form in order, the last one ending the list.
  std::vector<std::string> rows = Messages();
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[0], " 1//BCM//0005//1306.4.1//");
  EXPECT_EQ(rows[1], " 1//BCM//0010//E~Workers COMP Prof.837 (ANSI 4010 A1)~0~0~A//");
  EXPECT_EQ(rows[2], " 1//BCM//0020//1603~Billing Code~Field 2~Field 3~Field 4~Field 5//");
  EXPECT_EQ(rows[11], " 1//BCM//0020//1613~Billing Code~Field 2~Field 3~Field 4~Field 5//");
  for (std::size_t i = 3; i < 11; ++i) EXPECT_LT(rows[i - 1].substr(15, 4), rows[i].substr(15, 4));
  // Asking again gives the same text: "//" is appended only once.
  EXPECT_EQ(fc->GetAMessage(1), rows[0]);
  EXPECT_EQ(fc->GetAMessage(13), "END");
  EXPECT_EQ(Host().gMessageArray.size(), 21u);  // 20 slots, 1-based
  // Emptying keeps the grown capacity.
  EXPECT_EQ(fc->HereIsAMessage("1", dir.path()), 0);
  for (std::int32_t i : {1, 11, 12}) EXPECT_EQ(fc->GetAMessage(i), "END") << i;
  EXPECT_EQ(Host().gMessageArray.size(), 21u);
}

TEST(MessageText, TrailingSeparatorRule) {
  HostState h;
  AddToMessageArray(h, kMsgInfo, "TOTALCLAIMS//4//");
  AddToMessageArray(h, kMsgError, "X");
  AddToMessageArray(h, kMsgError, "ab");
  EXPECT_EQ(GetAMessageText(h, 1), " 1//TOTALCLAIMS//4//");  // already ends with "//"
  EXPECT_EQ(GetAMessageText(h, 2), " 3//X");                 // too short to extend
  EXPECT_EQ(GetAMessageText(h, 3), " 3//ab//");
  EXPECT_EQ(GetAMessageText(h, 4), "END");
  EXPECT_EQ(HighestMessageType(h), 3);
}

// The first line of the override file offers another claim file: Yes takes
// it (even when message 2 fails), No keeps the batch's own; an empty first
// line asks nothing.
TEST_F(HostTest, OverrideFileOffersAnotherClaimFile) {
  const std::string forced = dir.File("forced.837");
  WriteFile(dir.File("override.txt"), forced + "\r\nsecond line\r\n");
  std::shared_ptr<ScriptedPrompt> asked;
  for (const bool answer : {true, false}) {
    asked = std::make_shared<ScriptedPrompt>(answer);
    SetUserPrompt(asked);
    fc = std::make_unique<Format_Class>();
    ASSERT_EQ(asked->questions.size(), 1u);
    EXPECT_EQ(asked->questions[0],
              "Use Different Input File?|ForceADifferentInputFile feature has been detected.\n\n"
              "  Press YES to use " +
                  forced + "\n  Press NO  to use the file normally associated with this batch\n");
    EXPECT_EQ(fc->HereIsAMessage("2", "claims.837"), 3);
    EXPECT_EQ(Host().gsASCIIFile, answer ? forced : "?");
    Configure();
    const std::string used = answer ? forced : ClaimFile();
    EXPECT_EQ(Host().gsASCIIFile, used);
    ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
    EXPECT_TRUE(FileExists(used));
    EXPECT_TRUE(FileExists(used + "_NAC.Dat"));
  }
  WriteFile(dir.File("override.txt"), "\nforced.837\n");
  fc = std::make_unique<Format_Class>();
  EXPECT_EQ(asked->questions.size(), 1u);
}

}  // namespace
}  // namespace wcomp837::testing
