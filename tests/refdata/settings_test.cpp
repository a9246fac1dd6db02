// Reference data without a database: the NPI legacy dates and the alternate
// practice names from their settings files, the settings folder and line
// format, and the password masking of connection strings.
#include "platform/odbc.h"
#include "ref_fixture.h"
#include "refdata/settings_file.h"

namespace wcomp837::testing {
namespace {

using LegacyDates = RefTest;

constexpr const char* kFile = "QBEX_CFG_NPICMS.DAT";

TEST_F(LegacyDates, MostSpecificMatchDecides) {
  WriteSetting(kFile,
               "\"\",\"X\",1/1/2000\r\n"  // no type: matches nothing, hides nothing
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
  EXPECT_EQ(g.ref.NPILegacyDates.size(), 7u);
  EXPECT_EQ(g.ref.NPILegacyDates[2].sValue, "WCOMP_P4");
  EXPECT_TRUE(Messages().empty());
}

// A stop date of today has passed, whatever the time of day.
TEST_F(LegacyDates, StopDateOfTodayHasPassed) {
  WriteSetting(kFile, "\"00\",\"\",12/06/2026\n");
  const std::pair<DateTime, bool> kCases[] = {{DateTime{2026, 12, 6, 0, 0, 1}, true},
                                              {DateTime{2026, 12, 6, 23, 59, 59}, true},
                                              {DateTime{2026, 12, 5, 23, 59, 59}, false}};
  for (const auto& [now, passed] : kCases) {
    SetFixedClock(now);
    EXPECT_EQ(Passed("A", "B"), passed) << now.day << " " << now.hour;
  }
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
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            g.host.gsDllName + "FillNPILegacyDateArray  Error: 13 Type mismatch"});
}

TEST_F(LegacyDates, LogLines) {
  WriteSetting(kFile, "\"00\",\"\",12/31/2099\n\"02\",\"00\",2008-05-23\n");
  g.host.LogFile.Open(folder.File("run.log"), OutFile::Mode::kRecreate);
  g.host.giLogLevel = 2;
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
  g.host.LogFile.Close();
  EXPECT_EQ(ReadFile(folder.File("run.log")), expected);
}

using AlternatePracticeName = RefTest;

// The first line for the practice code gives the name; codes compare
// exactly; the address stays. A missing file is reported at each record.
TEST_F(AlternatePracticeName, FirstLineForThePracticeCodeGivesTheName) {
  const auto lookUp = [&](const std::string& code) {
    PracticeRec p{};
    p[Practice::sPracticeCode] = code;
    p[Practice::sName] = "HOST NAME";
    p[Practice::sAddress1] = "1 MAIN ST";
    CheckForAlternatePracticeName(c, p);
    EXPECT_EQ(p[Practice::sAddress1], "1 MAIN ST") << code;
    return std::string(p[Practice::sName]);
  };
  EXPECT_EQ(lookUp("P1"), "HOST NAME");
  EXPECT_EQ(lookUp("P1"), "HOST NAME");
  const std::string missing = g.host.gsDllName +
                              " had a problem in CheckForAlternatePracticeName  Error: 53 File "
                              "not found: " +
                              folder.File("QBEX_ALT_PRACTICENAME.DAT");
  EXPECT_EQ(Messages(), (std::vector<std::string>{missing, missing}));

  ClearMessageArray(g.host);
  // A line longer than a line is kept: its end is skipped, not read as a
  // line of its own.
  const std::string huge =
      std::string(LineReader::kMaxLineBytes + 1, 'A') + "\"P2\",\"From The End Of A Long Line\"";
  WriteSetting("QBEX_ALT_PRACTICENAME.DAT", huge +
                                                "\r\n"
                                                "\"P1\",\"Alpha Clinic\"\r\n"
                                                "P2 ,  Beta Care  \r\n"
                                                "\"P3\",\"Gamma, Inc.\"\r\n"
                                                "\"P2\",\"Second Beta\"\r\n"
                                                "\"ADDR\",\"9 Side St\"\r\n");
  const std::pair<std::string, std::string> kCases[] = {{"P1", "Alpha Clinic"}, {"P2", "Beta Care"},
                                                        {"P3", "Gamma, Inc."},  {"P9", "HOST NAME"},
                                                        {"p1", "HOST NAME"},    {"", "HOST NAME"}};
  for (const auto& [code, name] : kCases) EXPECT_EQ(lookUp(code), name) << code;
  EXPECT_TRUE(Messages().empty());
}

// Installed in a prefix's program or library folder, the component reads the
// prefix's configuration folder; anywhere else (a build tree) its own.
TEST(SettingsFolder, InstalledComponentsReadTheirPrefixConfiguration) {
  const std::pair<const char*, const char*> kCases[] = {
      {"/usr/bin", "/etc/wcomp837"},
      {"/usr/local/bin", "/usr/local/etc/wcomp837"},
      {"/opt/claims/bin/", "/opt/claims/etc/wcomp837"},
      {"/bin", "/etc/wcomp837"},
      {"/home/ann/wcomp837/build", "/home/ann/wcomp837/build"},
      {"/usr/binaries", "/usr/binaries"},
  };
  for (const auto& [folder, settings] : kCases) EXPECT_EQ(SettingsFolderFor(folder), settings);
}

TEST(SettingsLine, QuotedUnquotedAndDateValues) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitSettingsLine("\"a, b\",c"), (V{"a, b", "c"}));
  EXPECT_EQ(SplitSettingsLine("  x  ,\t\"  y \" , #2008-05-23#"), (V{"x", "  y ", "2008-05-23"}));
  EXPECT_EQ(SplitSettingsLine("\"00\",,"), (V{"00", "", ""}));
  EXPECT_EQ(SplitSettingsLine("\"unterminated"), (V{"unterminated"}));
  EXPECT_EQ(SplitSettingsLine("\"O'Brien\"  junk ,next"), (V{"O'Brien", "next"}));
}

// The password of a connection string never shows in a diagnostic.
TEST(PasswordMasking, PasswordItemsAndEchoedSecret) {
  const std::string cs = "DSN=qel;UID=qeladmin;PWD=t4mx9kz2pd7w";
  EXPECT_EQ(PasswordOf(cs), "t4mx9kz2pd7w");
  EXPECT_EQ(MaskConnectionString(cs), "DSN=qel;UID=qeladmin;PWD=****");
  EXPECT_EQ(MaskConnectionString("pwd = s3;Pwd={a;b};X=1;PWD="), "pwd =****;Pwd=****;X=1;PWD=****");
  EXPECT_EQ(PasswordOf("DSN=x;PWD={a;b}"), "a;b");
  EXPECT_EQ(PasswordOf("DSN=x;UID=u"), "");
  // Names that merely contain the letters are left alone.
  EXPECT_EQ(MaskConnectionString("DSN=MYPWD;APPWD=1"), "DSN=MYPWD;APPWD=1");
  EXPECT_EQ(
      MaskSecret("connect 'DSN=qel;PWD=t4mx9kz2pd7w' failed for t4mx9kz2pd7w", "t4mx9kz2pd7w"),
      "connect 'DSN=qel;PWD=****' failed for ****");
  EXPECT_EQ(MaskSecret("nothing to hide", ""), "nothing to hide");
}

}  // namespace
}  // namespace wcomp837::testing
