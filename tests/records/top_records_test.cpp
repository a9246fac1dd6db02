// Practice, billing provider, insurance, preference and patient records.
#include "records/parsers.h"
#include "records_fixture.h"

namespace wcomp837::testing {
namespace {

using TopRecordsTest = RecordsTest;

TEST_F(TopRecordsTest, PracticeOptionalMembersCountryDropAndCleaning) {
  PracticeRec& p = g().g_ThisTop.Practice;
  p.fill("OLD");
  ASSERT_EQ(ParsePracticeRec(c(), Record(21, {{2, "Smith & Jones, P.A."}, {6, "n.y."}}), p), 0);
  for (std::size_t m = 21; m <= 34; ++m) EXPECT_EQ(p[m], "") << m;
  EXPECT_EQ(p[Practice::sOrigName], "OLD");  // only the original-address lookup sets these
  EXPECT_EQ(p[Practice::sName], "SMITH  JONES P.A.");
  EXPECT_EQ(p[Practice::sState], "n.y.");  // not cleaned
  EXPECT_EQ(p[15], "");                    // dropped

  ASSERT_EQ(ParsePracticeRec(c(), Record(34, {{24, "123"}, {25, "CANADA"}, {32, "GERMANY"}}), p),
            0);
  EXPECT_EQ(p[Practice::sNPI] + p[Practice::sNPICopy], "123123");
  EXPECT_EQ(p[Practice::sCountry] + p[Practice::sCountry2], "CADE");
  ASSERT_EQ(ParsePracticeRec(c(), Record(26, {{25, "USA"}}), p), 0);
  EXPECT_EQ(p[Practice::sCountry], "");
}

TEST_F(TopRecordsTest, NpiGateEmptiesNpisBefore2007) {
  PracticeRec& p = g().g_ThisTop.Practice;
  BProviderRec& b = g().g_ThisTop.BProvider;
  SetFixedClock(DateTime{2006, 12, 31, 23, 59, 59});
  ASSERT_EQ(ParsePracticeRec(c(), Record(25), p), 0);
  ASSERT_EQ(ParseBProviderRec(c(), Record(33), b), 0);
  EXPECT_EQ(p[Practice::sNPI] + p[Practice::sNPICopy] + b[BProvider::sNPI], "");

  SetFixedClock(DateTime{2007, 1, 1, 0, 0, 0});
  ASSERT_EQ(ParsePracticeRec(c(), Record(25), p), 0);
  ASSERT_EQ(ParseBProviderRec(c(), Record(33), b), 0);
  EXPECT_EQ(p[Practice::sNPI], "F24");
  EXPECT_EQ(b[BProvider::sNPI], "F27");
}

TEST_F(TopRecordsTest, PracticeNameFromTheAlternateNameFileIsCleaned) {
  WriteFile(dir_.File("QBEX_ALT_PRACTICENAME.DAT"), "F1,\"Other Name\"\r\n");
  ASSERT_EQ(ParsePracticeRec(c(), Record(21), g().g_ThisTop.Practice), 0);
  EXPECT_EQ(g().g_ThisTop.Practice[Practice::sName], "OTHER NAME");
}

TEST_F(TopRecordsTest, BillingProviderGenderDropAndSplit) {
  BProviderRec& b = g().g_ThisTop.BProvider;
  b.fill("OLD");
  ASSERT_EQ(ParseBProviderRec(c(), Record(33, {{8, "m"}, {26, "LEGACY"}, {28, "AB1 / cd-2/X"}}), b),
            0);
  EXPECT_EQ(b[BProvider::sGender] + b[BProvider::sGenderDesc], "UUNKNOWN");
  EXPECT_EQ(b[26], "");
  EXPECT_EQ(b[28], "AB1");
  EXPECT_EQ(b[44], "cd-2/X");  // the right part is not cleaned
  for (std::size_t m = 33; m <= 43; ++m) EXPECT_EQ(b[m], "") << m;

  ASSERT_EQ(ParseBProviderRec(c(), Record(44, {{8, "F"}, {28, "NOSLASH"}, {42, "2.0"}}), b), 0);
  EXPECT_EQ(b[BProvider::sGender] + b[BProvider::sGenderDesc], "FF9");
  EXPECT_EQ(b[28] + "|" + b[44], "NOSLASH|");
  EXPECT_EQ(b[BProvider::sCountry2], "CA");
}

TEST_F(TopRecordsTest, InsurancePayerIdSplitsAndPracticeNpi) {
  InsuranceRec& ins = g().g_ThisTop.Insurance;
  PracticeRec& p = g().g_ThisTop.Practice;
  p[Practice::sNPI] = "FROM AN EARLIER INSURANCE";
  p[Practice::sNPICopy] = "1234567893";
  const std::string rec = Record(37, {{2, ""}, {18, "A1/B2"}, {36, "12345/X"}});
  ASSERT_EQ(ParseInsuranceRec(c(), rec, ins, 0), 0);
  EXPECT_EQ(ins[Insurance::sPayerId], "12345");
  EXPECT_EQ(ins[36] + "|" + ins[39], "12345|X");
  EXPECT_EQ(ins[18] + "|" + ins[38], "A1|B2");
  EXPECT_EQ(p[Practice::sNPI], "1234567893");  // no alternate NPI: the practice's own

  ASSERT_EQ(ParseInsuranceRec(c(), rec, ins, 1), 0);
  EXPECT_EQ(ins[Insurance::sPayerId], "");  // a non-zero switch skips the fallback
}

TEST_F(TopRecordsTest, PatientGenderKeptMemberAndCountries) {
  PatientRec& pt = g().g_ThisTop.Patient;
  pt.fill("OLD");
  ASSERT_EQ(
      ParsePatientRec(c(), Record(51, {{4, "O'Neil"}, {5, "q."}, {11, "FEMALE"}, {10, "F"}}), pt),
      0);
  EXPECT_EQ(pt[Patient::sGender] + pt[Patient::sGenderDesc], "FFEMALE");
  EXPECT_EQ(pt[Patient::sLastName] + pt[Patient::sMiddleName], "ONEILq.");
  EXPECT_EQ(pt[50], "F50");
  EXPECT_EQ(pt[51] + pt[52] + pt[53], "");

  ASSERT_EQ(ParsePatientRec(c(), Record(50, {{10, "X"}}), pt), 0);
  EXPECT_EQ(pt[Patient::sGender] + pt[Patient::sGenderDesc], "UUNKNOWN");
  EXPECT_EQ(pt[50], "F50");  // kept from the previous patient record

  ASSERT_EQ(ParsePatientRec(c(), Record(53, {{10, ""}, {51, "CANADA"}, {52, "US"}}), pt), 0);
  EXPECT_EQ(pt[Patient::sGender], "U");
  EXPECT_EQ(pt[Patient::sCountry] + "|" + pt[Patient::sCountry2], "CA|");
}

}  // namespace
}  // namespace wcomp837::testing
