// FormatRecord: the first record, the record key, the run log, the dispatch
// conditions, the end of a charge and the test-claims limit; the end of the
// batch and failures to write the run log or the _NAC.Dat file.
#include <cerrno>

#include "host_fixture.h"
#include "records/parsers.h"

namespace wcomp837::testing {
namespace {

const std::string kNoFile = " 3//ASCII file name and path were not set. " + kDll +
                            " doesn't know what file to read/write.//";

TEST_F(HostTest, FirstRecordBeforeTheClaimFileNameIsSet) {
  EXPECT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{kNoFile});
  EXPECT_EQ(Host().glRecordCount, 1);
  EXPECT_FALSE(Host().LogFile.IsOpen());
  // The next call is not the first record: nothing is opened.
  Configure();
  EXPECT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  EXPECT_FALSE(FileExists(ClaimFile()));
  // Nor does the final check pass before the claim file name is known.
  fc = std::make_unique<Format_Class>();
  EXPECT_EQ(fc->ProcessFormattedRecords(), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{kNoFile});
}

// A key too short to read fails with the key in the message and the batch
// goes on; the submission number comes from the first key only.
TEST_F(HostTest, BadRecordKeysFailWithTheKeyInTheMessage) {
  Configure();
  EXPECT_EQ(fc->FormatRecord(Key("1000", "40000"), PracticeRecord()), 3);
  EXPECT_EQ(fc->msErrorMsg(), kDll + " Had a problem in FormatRecord() Error:  6 Overflow");
  EXPECT_EQ(fc->FormatRecord("1000//A//B", PracticeRecord()), 3);
  const std::string text =
      kDll + " Had a problem in FormatRecord() Error:  9 Subscript out of range";
  EXPECT_EQ(Messages(), (std::vector<std::string>{" 3//" + text + "//",
                                                  " 3//Record#  2 Record Key: 1000 /A /B//"}));
  EXPECT_EQ(fc->msErrorMsg(), text);
  EXPECT_EQ(fc->FormatRecord("", ""), 3);
  EXPECT_EQ(Messages().back(), " 3//Record#  3 Record Key: //");
  EXPECT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
}

// A batch of a practice and no charge: an empty claim file, the _NAC.Dat
// file's "none found" list, and the run log of records of unknown types and
// of an end without claims.
TEST_F(HostTest, RunLogAndFilesOfABatchWithoutCharges) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord() + "//A,B"), 0);
  ASSERT_EQ(fc->FormatRecord(Key("7777"), "X,\"Y\""), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6340"), "ANYTHING"), 0);
  ASSERT_EQ(fc->ProcessEndOfFile(), 0);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(fc->ProcessFormattedRecords(), 0);
  EXPECT_EQ(ReadFile(ClaimFile()), "");  // no claim and no trailer
  const std::string nac = ReadFile(NACFile());
  EXPECT_NE(nac.find("\"No secondaries without Adjustment Reason Codes were found.\""),
            std::string::npos);
  EXPECT_EQ(nac.find("\"PR01 RIVERSIDE ORTHOPEDICS\""), nac.find("\"PR01"));
  EXPECT_NE(Log().find("\" 2\",\"" + Key("7777") +
                       "\",\"X,\"Y\"\"\r\n\"FormatRecord()\"\r\n"
                       "\"FormatRecord() - Didn't know the case type\"\r\n"
                       "\" 3\",\"" +
                       Key("6340") +
                       "\",\"ANYTHING\"\r\n\"FormatRecord()\"\r\n"
                       "\"ProcessEndOfFile()\"\r\n\"gbThereWasAFatalError = False\"\r\n"
                       "\"VC++ says there was a Fatal Error (or zero records)\"\r\n"
                       "\"trying to close _nac.dat file\"\r\n"),
            std::string::npos);
}

// A record type is known only as a whole: a part of a known type, or a
// known type with more after it, is a type the component does not know.
TEST_F(HostTest, RecordTypesAreMatchedWhole) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  for (const char* type : {"600", "60000", "6 00", "1000X"}) {
    ASSERT_EQ(fc->FormatRecord(Key(type), "X"), 0) << type;
  }
  ASSERT_EQ(fc->ProcessEndOfFile(), 0);
  const std::string log = Log();
  std::size_t unknown = 0;
  for (std::size_t at = 0; (at = log.find("Didn't know the case type", at)) != std::string::npos;
       ++at) {
    ++unknown;
  }
  EXPECT_EQ(unknown, 4u);
}

TEST_F(HostTest, ExtendedDataGoesToTheSlotOfItsType) {
  StartBatch();
  ASSERT_EQ(fc->FormatRecord(Key("5014"), "5014//CLAIM3"), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6000"), ChargeRecord("1")), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6012"), "6012//FIRST2"), 0);
  ASSERT_EQ(fc->FormatRecord(Key("6028"), "6028//SECOND5"), 0);
  EXPECT_EQ(State().records.g_ThisTop.ExtData[2][0], "5014");
  EXPECT_EQ(State().records.g_ThisGroup.FirstSet(2)[0], "6012");
  EXPECT_EQ(State().records.g_ThisGroup.SecondSet(5)[0], "6028");
}

TEST_F(HostTest, EndOfChargeCompletesTheGroup) {
  StartBatch();
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

// The run log and the _NAC.Dat file are buffered: a failure to write them
// surfaces when they are flushed, reported once by the routine writing; the
// batch goes on without the log.
TEST_F(HostTest, RunLogAndNACWriteFailuresAreReported) {
  const auto failWrites = [](const std::string& file, int error) {
    SetWriteFaultForTesting(
        [=](const std::string& path) { return path.find(file) != std::string::npos ? error : 0; });
  };
  StartBatch();
  failWrites(".Log", EIO);
  // Larger than the run log's block: written at once, not in the background.
  const std::string big = Rec(30, {{3, std::string(600'000, 'N')}}, "1050");
  EXPECT_EQ(fc->FormatRecord(Key("1050"), big), 3);
  EXPECT_EQ(Messages().front(),
            " 3//" + kDll + " Had a problem in FormatRecord() Error:  75 Path/File access error//");
  EXPECT_FALSE(Host().LogFile.IsOpen());
  EXPECT_EQ(fc->FormatRecord(Key("1050"), big), 0);
  EXPECT_EQ(fc->ProcessEndOfFile(), 0);
  EXPECT_TRUE(FileExists(NACFile()));

  SetWriteFaultForTesting(nullptr);
  StartBatch(true);
  failWrites(".Log", ENOSPC);
  EXPECT_EQ(fc->ProcessEndOfFile(), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{" 3//" + kDll + " CloseLog()  61 Disk full//"});
  EXPECT_FALSE(Host().LogFile.IsOpen());

  SetWriteFaultForTesting(nullptr);
  StartBatch(true);
  failWrites("_NAC.Dat", ENOSPC);
  EXPECT_EQ(fc->ProcessEndOfFile(), 1);
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages().front().find("61 Disk full"), std::string::npos);
  EXPECT_NE(Log().find("\"ProcessEndOfFile:  Had extra messages in error array\""),
            std::string::npos);
}

// A key's fields are kept as one text: a short key replaces the fields it
// has and the others keep their values, through any number of short keys;
// a full key replaces them all.
TEST(KeyFieldsTest, ShortKeysKeepTheLaterFields) {
  KeyFields keys;
  const auto all = [&] {
    std::string s;
    for (std::size_t i = 0; i < KeyFields::kCount; ++i) s.append(keys[i]).append("|");
    return s;
  };
  const auto store = [&](std::string key) {
    std::vector<std::string_view> fields;
    SplitFields(key, fields, "//");
    keys.Store(key, fields);
    key.assign(key.size(), '#');  // the fields must not point into the caller's text
  };
  EXPECT_EQ(all(), std::string(KeyFields::kCount, '|'));
  store("B1//P//A1//4711//1//0//0//0//0//0//6000");
  EXPECT_EQ(all(), "B1|P|A1|4711|1|0|0|0|0|0|6000|");
  store("B2//Q");
  store("B3// ");
  EXPECT_EQ(all(), "B3||A1|4711|1|0|0|0|0|0|6000|");
  store("");
  EXPECT_EQ(all(), "||A1|4711|1|0|0|0|0|0|6000|");
  store("C//D//E//F//G//H//I//J//K//L//1000//extra");
  EXPECT_EQ(all(), "C|D|E|F|G|H|I|J|K|L|1000|");
}

}  // namespace
}  // namespace wcomp837::testing
