// Output that cannot be written: a missing or unusable output folder, a claim
// file whose disk fills during the batch, a run log that cannot be opened.
// The host must hear of each through the answers and messages, and no answer
// may claim success for a claim file that was not completely written.
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "faults/batch_runner.h"
#include "faults/component_env.h"
#include "platform/files.h"

namespace wcomp837::testing {
namespace {

const std::string kDll = "QZK_WCOMP_P4_Format.Dll";

class OutputFaults : public ComponentEnv {
 protected:
  // About forty claims: the claim file outgrows the writer's buffer.
  static const Batch& MediumBatch() {
    static const Batch batch = [] {
      bench::BatchOptions o;
      o.records = 3000;
      o.seed = 7;
      return GeneratedBatch(o);
    }();
    return batch;
  }
  // Fails every physical write of the claim file once `after` writes
  // succeeded, `times` times (or for ever when negative).
  void FailClaimWrites(int after, int times) {
    calls_ = 0;
    const std::string claim = Out("claims.837");
    SetWriteFaultForTesting([this, claim, after, times](const std::string& path) {
      if (path != claim) return 0;
      const int n = calls_++;
      if (n < after) return 0;
      return (times < 0 || n < after + times) ? ENOSPC : 0;
    });
  }
  std::atomic<int> calls_{0};
};

TEST_F(OutputFaults, MissingOutputFolderIsReportedAndNothingIsCalledWritten) {
  const std::string missing = home.File("missing");
  Format_Class fc;
  const HostView v = RunBatch(fc, missing, "claims.837", ExampleBatch());

  // The first record reports the claim file and the log that cannot be opened.
  ASSERT_FALSE(v.recordResults.empty());
  EXPECT_EQ(v.recordResults[0], 1);
  EXPECT_TRUE(v.Saw(kDll + " OpenASCIIout()  76 Path not found"));
  EXPECT_TRUE(v.Saw(kDll + " OpenLog()  Error:  76 Path not found"));
  // The first claim written fails and says so.
  EXPECT_GE(v.FirstRecordAnswering(3), 1);
  EXPECT_TRUE(v.Saw(kDll + " WriteASCIIOUT()  52 Bad file name or number"));
  // Neither the end of the batch nor the final check answers success.
  EXPECT_EQ(v.endOfFile, 1);
  EXPECT_EQ(v.finalCheck, 1);
  EXPECT_EQ(v.checkMessages,
            (std::vector<std::string>{" 3//ProcessFormattedRecords()  File Not Found: //",
                                      " 3//File: " + missing + "/claims.837//"}));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(OutputFaults, OutputFolderThatIsNotWritableIsReported) {
  // A regular file where the folder should be: nothing can be created in it.
  const std::string notAFolder = home.File("plain-file");
  WriteFile(notAFolder, "keep me");
  {
    Format_Class fc;
    const HostView v = RunBatch(fc, notAFolder, "claims.837", ExampleBatch());
    EXPECT_EQ(v.recordResults.at(0), 1);
    EXPECT_TRUE(v.Saw(" OpenASCIIout()  76 Path not found"));
    EXPECT_EQ(v.endOfFile, 1);
    EXPECT_EQ(v.finalCheck, 1);
    EXPECT_EQ(ReadFile(notAFolder), "keep me");
  }
  // A folder without write permission (only meaningful when not root).
  if (::geteuid() != 0) {
    const std::string locked = home.File("locked");
    std::filesystem::create_directories(locked);
    std::filesystem::permissions(
        locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    Format_Class fc;
    const HostView v = RunBatch(fc, locked, "claims.837", ExampleBatch());
    EXPECT_EQ(v.recordResults.at(0), 1);
    EXPECT_TRUE(v.Saw(" OpenASCIIout()  70 Permission denied"));
    EXPECT_EQ(v.endOfFile, 1);
    EXPECT_EQ(v.finalCheck, 1);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  }
}

TEST_F(OutputFaults, ClaimFileFillingItsDiskStopsSuccess) {
  FailClaimWrites(1, -1);
  Format_Class fc;
  const HostView v = RunBatch(fc, OutFolder(), "claims.837", MediumBatch());

  const std::int64_t failed = v.FirstRecordAnswering(3);
  ASSERT_GT(failed, 0);
  EXPECT_EQ(MediumBatch()[static_cast<std::size_t>(failed)].key.substr(
                MediumBatch()[static_cast<std::size_t>(failed)].key.size() - 4),
            "6990");
  EXPECT_TRUE(v.Saw(kDll + " WriteASCIIOUT()  61 Disk full"));
  EXPECT_TRUE(v.Saw("The Data was: "));
  EXPECT_EQ(v.endOfFile, 1);
  // What reached the disk is only what was written before the disk filled.
  EXPECT_LE(FileLength(Out("claims.837")), 64 * 1024);
  EXPECT_FALSE(CheckGuideFile(Out("claims.837")).ok());
}

// One failed write loses the segments it carried: even when the disk has room
// again later, the claim file stays broken and the batch must not end in
// success.
TEST_F(OutputFaults, ClaimFileWithOneLostWriteIsNeverReportedComplete) {
  FailClaimWrites(1, 1);
  Format_Class fc;
  const HostView v = RunBatch(fc, OutFolder(), "claims.837", MediumBatch());
  EXPECT_GT(v.FirstRecordAnswering(3), 0);
  EXPECT_TRUE(v.Saw(" WriteASCIIOUT()  61 Disk full"));
  EXPECT_EQ(v.endOfFile, 1);
  EXPECT_NE(v.finalCheck, 0);
}

TEST_F(OutputFaults, DiskFullWhileClosingTheClaimFileIsReported) {
  Format_Class fc;
  BatchHooks hooks;
  hooks.beforeEnd = [this] { FailClaimWrites(0, -1); };
  const HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch(), hooks);
  EXPECT_EQ(v.FirstRecordAnswering(3), -1);
  EXPECT_EQ(v.endOfFile, 1);
  ASSERT_FALSE(v.endMessages.empty());
  EXPECT_EQ(v.endMessages[0], " 3//" + kDll + " CloseASCIIout()  61 Disk full//");
  EXPECT_NE(v.finalCheck, 0);
  EXPECT_FALSE(CheckGuideFile(Out("claims.837")).ok());
}

TEST_F(OutputFaults, RunLogThatCannotBeOpenedLeavesTheBatchIntact) {
  // A folder in the place of the log file.
  std::filesystem::create_directories(Out("QZK_WCOMP_P4_Format.Log"));
  Format_Class fc;
  const HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch());
  EXPECT_EQ(v.recordResults.at(0), 1);
  ASSERT_EQ(v.messages.size(), 1u);
  EXPECT_EQ(v.messages[0].rfind(" 3//" + kDll + " OpenLog()  Error: ", 0), 0u) << v.messages[0];
  // Every other record is answered as usual and the claim file is complete.
  for (std::size_t i = 1; i < v.recordResults.size(); ++i) EXPECT_EQ(v.recordResults[i], 0) << i;
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_EQ(v.finalCheck, 0);
  const GuideReport check = CheckGuideFile(Out("claims.837"));
  EXPECT_TRUE(check.ok()) << ::testing::PrintToString(check.errors);
  EXPECT_GT(check.totals.claims, 0);
  EXPECT_TRUE(std::filesystem::is_directory(Out("QZK_WCOMP_P4_Format.Log")));
}

}  // namespace
}  // namespace wcomp837::testing
