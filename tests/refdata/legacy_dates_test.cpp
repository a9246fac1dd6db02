// NPI legacy dates from the settings file (no database connection).
#include "ref_fixture.h"

namespace wcomp837::testing {
namespace {

using LegacyDates = RefTest;

constexpr const char* kFile = "QBEX_CFG_NPICMS.DAT";

TEST_F(LegacyDates, MostSpecificMatchDecides) {
  WriteSetting(kFile,
               "\"00\",\"\",12/31/2099\r\n"
               "\"01\",\"wcomp_p4\",2009-01-01\r\n"
               "\"01\",\"OTHERFORM\",2099-01-01\r\n"
               "\"02\",\"00\",#2008-05-23#\r\n"
               "\r\n"
               "\"03\",\"ins01\",12/31/2099\r\n"
               "02 , 99 , 20991231\r\n");
  EXPECT_TRUE(Passed("00123", "X"));       // payer prefix, past
  EXPECT_FALSE(Passed("00123", "INS01"));  // own insurance date, future, comes first
  EXPECT_TRUE(Passed("00123", "ins01"));   // insurance codes compare exactly
  EXPECT_FALSE(Passed("99123", "X"));      // payer prefix before billing form
  EXPECT_TRUE(Passed("5", "X"));           // billing form before the standard date
  EXPECT_TRUE(Passed("0", "X"));           // payer ID shorter than the prefix
  EXPECT_EQ(g.ref.NPILegacyDates.size(), 6u);
  EXPECT_EQ(g.ref.NPILegacyDates[1].sValue, "WCOMP_P4");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(LegacyDates, StandardDateAgainstAnInsuranceOfItsOwn) {
  WriteSetting(kFile, "\"00\",\"\",05/23/2008\n\"03\",\"INS01\",12/31/2099\n");
  EXPECT_FALSE(Passed("12345", "INS01"));
  EXPECT_TRUE(Passed("12345", "INS02"));
}

TEST_F(LegacyDates, StopDateOfTodayHasPassed) {
  WriteSetting(kFile, "\"00\",\"\",12/06/2026\n");
  SetFixedClock(DateTime{2026, 12, 6, 0, 0, 1});
  EXPECT_TRUE(Passed("A", "B"));
  SetFixedClock(DateTime{2026, 12, 6, 23, 59, 59});
  EXPECT_TRUE(Passed("A", "B"));
  SetFixedClock(DateTime{2026, 12, 5, 23, 59, 59});
  EXPECT_FALSE(Passed("A", "B"));
}

TEST_F(LegacyDates, EmptyTableSendsLegacyNumbers) {
  WriteSetting(kFile, "");
  g.ref.LegacyDatePassed = true;
  EXPECT_FALSE(Passed("00123", "INS01"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(LegacyDates, MissingFileIsReportedOnceAndMeansAnEmptyTable) {
  EXPECT_FALSE(Passed("00123", "INS01"));
  const std::string expected =
      g.host.gsDllName + "FillNPILegacyDateArray  Error: 53 File not found: " + folder.File(kFile);
  EXPECT_EQ(Messages(), std::vector<std::string>{expected});
  // The table is loaded once per object: a file that appears later is not read.
  WriteSetting(kFile, "\"00\",\"\",05/23/2008\n");
  EXPECT_FALSE(Passed("00123", "INS01"));
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(LegacyDates, BadDateEndsTheLoadKeepingEarlierEntries) {
  WriteSetting(kFile,
               "\"00\",\"\",05/23/2008\n\"03\",\"INS01\",someday\n\"03\",\"INS02\",2099-1-1\n");
  EXPECT_TRUE(Passed("1", "INS02"));
  EXPECT_EQ(g.ref.NPILegacyDates.size(), 1u);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], g.host.gsDllName + "FillNPILegacyDateArray  Error: 13 Type mismatch");
}

TEST_F(LegacyDates, EntryWithoutTypeDoesNotHideLaterEntries) {
  WriteSetting(kFile, "\"\",\"X\",01/01/2000\n\"00\",\"\",05/23/2008\n");
  EXPECT_TRUE(Passed("1", "2"));
}

TEST_F(LegacyDates, LogLines) {
  WriteSetting(kFile, "\"00\",\"\",12/31/2099\n\"02\",\"00\",2008-05-23\n");
  OpenRunLog();
  EXPECT_TRUE(Passed("00123", "INS01"));
  const std::string expected =
      "\"** Opening NPIlegacy_File: " + folder.File(kFile) +
      "\"\r\n"
      "\"  RecordCount =  2\"\r\n"
      "\"PayorOrg,InsIHCode,StopDt: 00123,INS01\"\r\n"
      "\" >> NPI DATES   g_NPILegacy_InsuranceIHCodeDate: \"\r\n"
      "\" >> NPI DATES   g_NPILegacy_PayorOrgDate: 5/23/2008\"\r\n"
      "\" >> NPI DATES   g_NPILegacy_BillFormDate: \"\r\n"
      "\" >> NPI DATES   g_NPILegacy_StandardDate: 12/31/2099\"\r\n"
      "\">> NPILegacyDate Bailing on PayorOrgDate  datepassed = True\"\r\n";
  EXPECT_EQ(RunLog(), expected);
}

}  // namespace
}  // namespace wcomp837::testing
