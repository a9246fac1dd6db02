// Creation and the per-thread shared state, the override question, and the
// first record's set-up failures.
#include <thread>

#include "host_fixture.h"

namespace wcomp837::testing {
namespace {

const std::string kDll = "QZK_WCOMP_P4_Format.Dll";

TEST_F(HostTest, CreatingAnObjectResetsTheThreadsSharedState) {
  Configure();
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  fc->set_msErrorMsg("old text");
  EXPECT_EQ(fc->msErrorMsg(), "old text");

  Format_Class second;
  EXPECT_EQ(Host().gsOutputPath, "?");
  EXPECT_EQ(Host().glRecordCount, 0);
  EXPECT_EQ(second.msErrorMsg(), "");
  // The first object shares the reset state.
  EXPECT_EQ(fc->HereIsAMessage("2", "x.837"), 3);

  std::string otherThreadPath;
  std::thread([&] {
    Format_Class onAnotherThread;
    onAnotherThread.HereIsAMessage("1", "/elsewhere");
    otherThreadPath = CurrentSharedState()->host.gsOutputPath;
  }).join();
  EXPECT_EQ(otherThreadPath, "/elsewhere");
  EXPECT_EQ(Host().gsOutputPath, "?");
}

TEST_F(HostTest, OverrideFileOffersAnotherClaimFile) {
  const std::string forced = dir.File("forced.837");
  WriteFile(dir.File("override.txt"), forced + "\r\nsecond line\r\n");
  auto yes = std::make_shared<ScriptedPrompt>(true);
  SetUserPrompt(yes);
  fc = std::make_unique<Format_Class>();
  ASSERT_EQ(yes->questions.size(), 1u);
  EXPECT_EQ(yes->questions[0],
            "Use Different Input File?|ForceADifferentInputFile feature has been detected.\n\n"
            "  Press YES to use " +
                forced + "\n  Press NO  to use the file normally associated with this batch\n");
  // Message 2 fails without a folder, yet the override applies.
  EXPECT_EQ(fc->HereIsAMessage("2", "claims.837"), 3);
  EXPECT_EQ(Host().gsASCIIFile, forced);
  Configure();
  EXPECT_EQ(Host().gsASCIIFile, forced);
  ASSERT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 0);
  EXPECT_TRUE(FileExists(forced));
  EXPECT_TRUE(FileExists(forced + "_NAC.Dat"));

  // Answered No: the batch's own file.
  auto no = std::make_shared<ScriptedPrompt>(false);
  SetUserPrompt(no);
  fc = std::make_unique<Format_Class>();
  EXPECT_EQ(no->questions.size(), 1u);
  Configure();
  EXPECT_EQ(Host().gsASCIIFile, ClaimFile());

  // An empty first line asks nothing.
  WriteFile(dir.File("override.txt"), "\nforced.837\n");
  fc = std::make_unique<Format_Class>();
  EXPECT_EQ(no->questions.size(), 1u);
}

TEST_F(HostTest, ClaimFileThatCannotBeOpenedIsReportedAtTheFirstRecord) {
  ASSERT_EQ(fc->HereIsAMessage("1", dir.File("missing")), 0);
  ASSERT_EQ(fc->HereIsAMessage("2", "claims.837"), 0);
  EXPECT_EQ(fc->FormatRecord(Key("1000"), PracticeRecord()), 1);
  const std::vector<std::string> messages = Messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[0], " 3//" + kDll + " OpenASCIIout()  76 Path not found//");
  EXPECT_EQ(messages[1], " 3//" + kDll + " OpenLog()  Error:  76 Path not found//");
}

}  // namespace
}  // namespace wcomp837::testing
