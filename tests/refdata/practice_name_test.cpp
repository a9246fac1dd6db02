// The alternate practice name settings file and its line format.
#include "ref_fixture.h"
#include "refdata/settings_file.h"

namespace wcomp837::testing {
namespace {

using AlternatePracticeName = RefTest;

PracticeRec Practice(const std::string& code) {
  PracticeRec p{};
  p[Practice::sRecordTag] = "1000";
  p[Practice::sPracticeCode] = code;
  p[Practice::sName] = "HOST NAME";
  p[Practice::sAddress1] = "1 MAIN ST";
  return p;
}

TEST_F(AlternatePracticeName, FirstRecordForThePracticeCodeGivesTheName) {
  WriteSetting("QBEX_ALT_PRACTICENAME.DAT",
               "\"P1\",\"Alpha Clinic\"\r\n"
               "P2 ,  Beta Care  \r\n"
               "\"P3\",\"Gamma, Inc.\"\r\n"
               "\"P2\",\"Second Beta\"\r\n"
               "\"ADDR\",\"9 Side St\"\r\n");
  const std::pair<std::string, std::string> cases[] = {{"P1", "Alpha Clinic"}, {"P2", "Beta Care"},
                                                       {"P3", "Gamma, Inc."},  {"P9", "HOST NAME"},
                                                       {"p1", "HOST NAME"},    {"", "HOST NAME"}};
  for (const auto& [code, name] : cases) {
    PracticeRec p = Practice(code);
    CheckForAlternatePracticeName(c, p);
    EXPECT_EQ(p[Practice::sName], name) << code;
    EXPECT_EQ(p[Practice::sAddress1], "1 MAIN ST") << code;
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(AlternatePracticeName, MissingFileIsReportedAtEachRecord) {
  PracticeRec p = Practice("P1");
  CheckForAlternatePracticeName(c, p);
  CheckForAlternatePracticeName(c, p);
  const std::string expected =
      g.host.gsDllName +
      " had a problem in CheckForAlternatePracticeName  Error: 53 File not found: " +
      folder.File("QBEX_ALT_PRACTICENAME.DAT");
  EXPECT_EQ(Messages(), (std::vector<std::string>{expected, expected}));
  EXPECT_EQ(p[Practice::sName], "HOST NAME");
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

}  // namespace
}  // namespace wcomp837::testing
