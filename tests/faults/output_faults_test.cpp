// Output that cannot be written: a missing or unusable output folder, a claim
// file whose disk fills during the batch, report documents that cannot be
// written to the end.
// The host must hear of each through the answers and messages, and no answer
// may claim success for a claim file that was not completely written.
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "faults/batch_runner.h"
#include "faults/component_env.h"
#include "platform/files.h"
#include "platform/printing.h"

namespace wcomp837::testing {
namespace {

const std::string kDll = "QZK_WCOMP_P4_Format.Dll";

class OutputFaults : public ComponentEnv {
 protected:
  // A generated batch (about 75 records a claim), made once.
  template <int kRecords>
  static const Batch& Generated() {
    static const Batch batch = [] {
      bench::BatchOptions o;
      o.records = kRecords;
      o.seed = 7;
      return GeneratedBatch(o);
    }();
    return batch;
  }
  // The claim file outgrows the writer's buffer.
  static const Batch& MediumBatch() { return Generated<3000>(); }
  // The summary report's document outgrows the buffer of its file too.
  static const Batch& LargeBatch() { return Generated<10000>(); }
  // Fails every physical write of a file once `after` writes succeeded,
  // `times` times (or for ever when negative).
  void FailWrites(const std::string& file, int after, int times) {
    calls_ = 0;
    SetWriteFaultForTesting([this, file, after, times](const std::string& path) {
      if (path != file) return 0;
      const int n = calls_++;
      if (n < after) return 0;
      return (times < 0 || n < after + times) ? ENOSPC : 0;
    });
  }
  void FailClaimWrites(int after, int times) { FailWrites(Out("claims.837"), after, times); }
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

// A report whose document cannot be written to the end answers 3 with the
// report's failure message, and the part written does not stay behind.
TEST_F(OutputFaults, ReportDocumentsThatCannotBeCompletedAreReportedAndRemoved) {
  Format_Class fc;
  ASSERT_EQ(RunBatch(fc, OutFolder(), "claims.837", LargeBatch()).endOfFile, 0);
  fc.HereIsAMessage("7", kPdfPrinterName);
  const std::string claims = Out("claims.837");
  struct Case {
    const char* report;
    std::string document;
    std::string messages[2];
    int after;  // physical writes that succeed first
  };
  const std::string summary[2] = {"Summary_Report_It()  Error:  61 Disk full", "File: " + claims};
  const std::string nac[2] = {"NAC_Report()  Error:  61 Disk full", "File: " + claims + "_NAC.Dat"};
  const Case cases[] = {
      // In the middle of the document; at its end after a part reached the
      // disk; at the end of a small one (its only write).
      {"1", claims + "_Summary.pdf", {summary[0], summary[1]}, 0},
      {"1", claims + "_Summary.pdf", {summary[0], summary[1]}, 1},
      {"2", claims + "_NAC.pdf", {nac[0], nac[1]}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.document + " after " + std::to_string(c.after));
    FailWrites(c.document, c.after, -1);
    EXPECT_EQ(fc.HereIsAMessage("9", c.report), 3);
    EXPECT_EQ(ReadAllMessages(fc), (std::vector<std::string>{" 3//" + c.messages[0] + "//",
                                                             " 3//" + c.messages[1] + "//"}));
    EXPECT_GT(calls_.load(), c.after);
    EXPECT_FALSE(std::filesystem::exists(c.document));
    // With room again the same report is written whole.
    SetWriteFaultForTesting(nullptr);
    EXPECT_EQ(fc.HereIsAMessage("9", c.report), 0);
    EXPECT_GT(FileLength(c.document), 0);
  }
}

}  // namespace
}  // namespace wcomp837::testing
