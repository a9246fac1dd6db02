// FormatRecord: the first record, the record key, the log, the dispatch
// conditions, the end of a charge and the test-claims limit.
#include <random>

#include "host_fixture.h"

namespace wcomp837::testing {
namespace {

const std::string kDll = "QZK_WCOMP_P4_Format.Dll";

SharedState& State() {
  return *AcquireSharedState();
}

TEST_F(HostTest, FirstRecordBeforeTheClaimFileNameIsSet) {
  EXPECT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 1);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{" 3//ASCII file name and path were not set. " + kDll +
                                     " doesn't know what file to read/write.//"});
  EXPECT_EQ(Host().glRecordCount, 1);
  EXPECT_FALSE(Host().LogFile.IsOpen());
  // The next call is not the first record: nothing is opened.
  Configure();
  EXPECT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  EXPECT_FALSE(FileExists(ClaimFile()));
}

TEST_F(HostTest, FirstRecordMustBeAPractice) {
  Configure();
  EXPECT_EQ(fc->FormatRecord(Key("4000", "321"), Rec(50, {}, "4000")), 3);
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{" 3//1st Record was not Practice Info (type:1000)//",
                                      " 3//Please call support for help//"}));
  EXPECT_TRUE(FileExists(ClaimFile()));
  EXPECT_TRUE(FileExists(NACFile()));
  EXPECT_TRUE(Host().LogFile.IsOpen());
  EXPECT_EQ(Host().giLogLevel, 2);
  EXPECT_EQ(State().g_ThisTop.Patient[0], "");  // not parsed
}

TEST_F(HostTest, SubmissionNumberComesFromTheFirstKeyOnly) {
  Configure();
  EXPECT_EQ(fc->FormatRecord(Key("1000", "40000"), PracticeRecord()), 3);
  EXPECT_EQ(fc->msErrorMsg(), kDll + " Had a problem in FormatRecord() Error:  6 Overflow");
}

TEST_F(HostTest, ShortRecordKeyFailsWithTheKeyInTheMessage) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  EXPECT_EQ(fc->FormatRecord("1000//A//B", PracticeRecord()), 3);
  const std::string text =
      kDll + " Had a problem in FormatRecord() Error:  9 Subscript out of range";
  EXPECT_EQ(Messages(), (std::vector<std::string>{" 3//" + text + "//",
                                                  " 3//Record#  2 Record Key: 1000 /A /B//"}));
  EXPECT_EQ(fc->msErrorMsg(), text);
  EXPECT_EQ(fc->FormatRecord("", ""), 3);
  EXPECT_EQ(Messages().back(), " 3//Record#  3 Record Key: //");
  // The batch goes on.
  EXPECT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
}

TEST_F(HostTest, RunLogOfTheFirstRecords) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord() + "//A,B"), 0);
  ASSERT_EQ(fc->FormatRecord(Key("7777"), "X,\"Y\""), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6340"), "ANYTHING"), 0);
  EXPECT_TRUE(Messages().empty());
  ASSERT_EQ(fc->ProcessEndOfFile(), 0);
  const std::string log = Log();
  const std::string expectedStart =
      "\"***\"\r\n"
      "\"*** Opened on: Sunday, December 6, 2026 06:10:43\"\r\n"
      "\"***\"\r\n"
      "\"giTestClaims_Starting =  0\"\r\n"
      "\"giTestClaims_Ending =  0\"\r\n"
      "\" >>>>> gbDBConnectionIsGood = False\"\r\n"
      "\" >>>>> gbDBConnectionIsGood = False\"\r\n"
      "\"opening _nac.dat file\"\r\n";
  EXPECT_EQ(log.substr(0, expectedStart.size()), expectedStart);
  EXPECT_NE(log.find("\" 1\",\"" + Key("1000") + "\",\"" + PracticeRecord() +
                     "//A,B\"\r\n\"FormatRecord()\"\r\n\"ParsePracticeRec\"\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("\" 2\",\"" + Key("7777") +
                     "\",\"X,\"Y\"\"\r\n\"FormatRecord()\"\r\n"
                     "\"FormatRecord() - Didn't know the case type\"\r\n"
                     "\" 3\",\"" +
                     Key("6340") +
                     "\",\"ANYTHING\"\r\n\"FormatRecord()\"\r\n"
                     "\"ProcessEndOfFile()\"\r\n\"gbThereWasAFatalError = False\"\r\n"
                     "\"VC++ says there was a Fatal Error (or zero records)\"\r\n"),
            std::string::npos);
  const std::string trailer =
      "\"***\"\r\n\"*** Closed on: Sunday, December 6, 2026 06:10:43\"\r\n\"***\"\r\n";
  EXPECT_EQ(log.substr(log.size() - trailer.size()), trailer);
}

TEST_F(HostTest, OtherInsurancesDependOnTheBilledPosition) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  const std::string oins = Rec(70, {{1, "OI"}}, "6320");
  ASSERT_EQ(fc->FormatRecord(Key("6000"), ChargeRecord("2")), 0);
  EXPECT_EQ(fc->FormatRecord(Key("6320"), oins), 0);
  EXPECT_EQ(fc->FormatRecord(Key("6330"), oins), 0);
  EXPECT_EQ(State().g_ThisGroup.OIns[2][0], "");
  EXPECT_EQ(State().g_ThisGroup.OIns[3][0], "");
  EXPECT_EQ(fc->FormatRecord(Key("6310"), oins), 0);
  EXPECT_EQ(State().g_ThisGroup.OIns[1][0], "6320");

  ASSERT_EQ(fc->FormatRecord(Key("6000"), ChargeRecord("3")), 0);
  EXPECT_EQ(fc->FormatRecord(Key("6320"), oins), 0);
  EXPECT_EQ(fc->FormatRecord(Key("6330"), oins), 0);
  EXPECT_EQ(State().g_ThisGroup.OIns[2][0], "6320");
  EXPECT_EQ(State().g_ThisGroup.OIns[3][0], "");

  ASSERT_EQ(fc->FormatRecord(Key("6000"), ChargeRecord("4")), 0);
  EXPECT_EQ(fc->FormatRecord(Key("6330"), oins), 0);
  EXPECT_EQ(State().g_ThisGroup.OIns[3][0], "6320");
}

TEST_F(HostTest, FacilityRuleFollowsTheCalculationPreferences) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  const std::string facility = Rec(18, {{1, "FAC1"}}, "6200");
  struct Case {
    std::string option, pos;
    bool parsed;
  };
  for (const Case& c : {Case{"1", "21", false}, Case{"2", "11", false}, Case{"2", "12", false},
                        Case{"2", "21", true}, Case{"0", "11", true}, Case{"X", "11", true}}) {
    ASSERT_EQ(fc->FormatRecord(Key("3100"), Rec(15, {{13, c.option}}, "3100")), 0);
    ASSERT_EQ(fc->FormatRecord(Key("6000"), ChargeRecord("1", c.pos)), 0);  // empties the group
    EXPECT_EQ(fc->FormatRecord(Key("6200"), facility), 0);
    EXPECT_EQ(State().g_ThisGroup.Facility[0] == "6200", c.parsed) << c.option << "/" << c.pos;
  }
}

TEST_F(HostTest, ExtendedDataGoesToTheSlotOfItsType) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  ASSERT_EQ(fc->FormatRecord(Key("5014"), "5014//CLAIM3"), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6000"), ChargeRecord("1")), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6012"), "6012//FIRST2"), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6028"), "6028//SECOND5"), 0);
  EXPECT_EQ(State().g_ThisTop.ExtData[2][0], "5014");
  EXPECT_EQ(State().g_ThisGroup.FirstSet(2)[0], "6012");
  EXPECT_EQ(State().g_ThisGroup.SecondSet(5)[0], "6028");
}

TEST_F(HostTest, ParserFailureAnswersOneAndTheBatchGoesOn) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  EXPECT_EQ(fc->FormatRecord(Key("6050"), "6050//TOO//SHORT"), 1);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{" 3//" + kDll +
                                     " ParseAmbulanceRec() Error:  9 Subscript out of range//"});
  EXPECT_EQ(fc->FormatRecord(Key("1050"), Rec(30, {}, "1050")), 0);
}

TEST_F(HostTest, EndOfChargeCompletesTheGroup) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  ASSERT_EQ(fc->FormatRecord(Key("5000"), Rec(65, {{13, "SUBKEY"}}, "5000")), 0);
  ASSERT_EQ(
      fc->FormatRecord(Key("6000"),
                       Rec(88, {{70, "1"}, {71, "CHGKEY"}, {72, "knee sprain, left!"}}, "6000")),
      0);
  EXPECT_EQ(fc->FormatRecord(Key("6990"), "6990"), 0);
  EXPECT_EQ(Host().giChargeCount, 1);
  EXPECT_FALSE(Host().gbFirstCharge);
  EXPECT_EQ(State().g_LastGroup().Charge[Charge::sIndicatorKeys], "~CHGKEY~~SUBKEY");
  EXPECT_EQ(State().g_LastGroup().Charge[Charge::sNarrative], "KNEE SPRAIN LEFT");
  // Without submitter, insurance, preferences and patient the claim cannot
  // be written whole: it is not written, and the host is told.
  ASSERT_EQ(fc->ProcessEndOfFile(), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            " 3//Claim for account (none) was not written: no submitter (1050), "
                            "insurance (3000), calculation preferences (3100), patient (4000) "
                            "record was received//"});
  EXPECT_NE(Log().find("\"1st Charge, not calling CheckBreak()\""), std::string::npos);
}

TEST_F(HostTest, TestClaimLimitIgnoresEveryLaterRecord) {
  Configure();
  ASSERT_EQ(fc->HereIsAMessage("6", "1//2"), 0);
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  State().host.giclaims_counted = 2;
  const std::int64_t charges = Host().giChargeCount;
  EXPECT_EQ(fc->FormatRecord("not even a key", "6990"), 0);
  EXPECT_EQ(fc->FormatRecord(Key("6990"), "6990"), 0);
  EXPECT_EQ(Host().giChargeCount, charges);
  EXPECT_EQ(Host().glRecordCount, 3);
  ASSERT_EQ(fc->ProcessEndOfFile(), 0);
  EXPECT_NE(Log().find("\"...ignoring, we already have testclaims_ending=  2 claims_counted=  2\""),
            std::string::npos);
}

// Arbitrary text never crashes FormatRecord: it answers 0, 1 or 3.
TEST_F(HostTest, ArbitraryTextIsAnsweredNotCrashedOn) {
  Configure();
  std::mt19937 rng(837);
  const std::vector<std::string> types = {"1000", "1050", "2000", "3000", "3100", "3101", "4000",
                                          "5000", "5010", "6000", "6005", "6010", "6020", "6050",
                                          "6060", "6100", "6110", "6120", "6130", "6200", "6310",
                                          "6320", "6330", "6340", "6990", "0000", ""};
  const std::string alphabet = "/.,~ :*0123456789ABCabc\"\t-";
  auto text = [&](std::size_t maxLen) {
    std::string s(rng() % maxLen, ' ');
    for (char& ch : s) ch = alphabet[rng() % alphabet.size()];
    return s;
  };
  for (int i = 0; i < 3000; ++i) {
    std::string key = (rng() % 4 == 0) ? text(60) : Key(types[rng() % types.size()], text(6));
    std::string rec = (rng() % 3 == 0) ? text(400) : Rec(1 + rng() % 140, {}, text(5));
    const std::int16_t r = fc->FormatRecord(key, rec);
    ASSERT_TRUE(r == 0 || r == 1 || r == 3) << key << " | " << rec;
  }
  const std::string huge(2'000'000, '/');
  const std::int16_t r = fc->FormatRecord(Key("6000"), huge);
  EXPECT_TRUE(r == 0 || r == 1 || r == 3);
  const std::int16_t end = fc->ProcessEndOfFile();
  EXPECT_TRUE(end == 0 || end == 1);
}

}  // namespace
}  // namespace wcomp837::testing
