// Faults of the component's surroundings: output that cannot be written and
// planted links (first), reference data that goes missing (further down).
// Output that cannot be written: a missing or unusable output folder, a claim
// file whose disk fills during the batch, report documents that cannot be
// written to the end, and links or odd files planted where the component
// creates its files. The host must hear of each through the answers and
// messages, no answer may claim success for a claim file that was not
// completely written, and nothing outside the output folder changes.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>
#include <tuple>

#include "faults/batch_runner.h"
#include "faults/component_env.h"
#include "platform/files.h"
#include "platform/printing.h"

namespace wcomp837::testing {
namespace {

namespace fs = std::filesystem;
const std::string kDll = " 3//QZK_WCOMP_P4_Format.Dll";
const std::string kLog = "QZK_WCOMP_P4_Format.Log";
// Every file a batch and its two reports create.
const std::vector<std::string> kCreated = {"claims.837", "claims.837_NAC.Dat",
                                           "claims.837_Summary.pdf", "claims.837_NAC.pdf", kLog};

class Surroundings : public ComponentEnv {
 protected:
  // A generated batch (about 75 records a claim), made once: at 3000 records
  // the claim file outgrows the writer's buffer, at 10000 the summary
  // report's document outgrows the buffer of its file too.
  template <int kRecords>
  static const Batch& Generated() {
    static const Batch batch = GeneratedBatch({.records = kRecords, .seed = 7});
    return batch;
  }
  // Fails every physical write of a file once `after` writes succeeded,
  // `times` times (or for ever when negative).
  void FailWrites(const std::string& file, int after, int times) {
    calls_ = 0;
    SetWriteFaultForTesting([this, file, after, times](const std::string& path) {
      if (path != file) return 0;
      const int n = calls_++;
      return n >= after && (times < 0 || n < after + times) ? ENOSPC : 0;
    });
  }
  std::atomic<int> calls_{0};
  // A practice record: it starts the records of a practice.
  static bool IsPractice(const BatchLine& line) { return line.key.ends_with("1000"); }
  // A file outside the output folder for each created file to point at.
  std::string Victim(std::size_t i) const { return home.File("victim" + std::to_string(i)); }
  void WriteVictims() {
    for (std::size_t i = 0; i < kCreated.size(); ++i) WriteFile(Victim(i), kCreated[i]);
  }
  void ExpectVictimsIntact() {
    for (std::size_t i = 0; i < kCreated.size(); ++i) EXPECT_EQ(ReadFile(Victim(i)), kCreated[i]);
  }
  // The example batch, then reports 1 and 2 written as documents only.
  HostView RunWithReports(std::vector<std::int16_t>& reports) {
    Format_Class fc;
    HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch());
    fc.HereIsAMessage("7", kPdfPrinterName);
    for (const char* nr : {"1", "2"}) reports.push_back(fc.HereIsAMessage("9", nr));
    return v;
  }
};

// Each folder that cannot take the claim file: the first record hears of it,
// the first claim written fails, neither the end nor the final check answers
// success, and whatever stood in the folder's place is left as it was.
TEST_F(Surroundings, OutputFolderThatCannotBeWrittenIsReportedAndNothingIsCalledWritten) {
  const std::string missing = home.File("missing"), plain = home.File("plain-file"),
                    locked = home.File("locked");
  // Folder, the message opening the claim file, and what stays as it was.
  std::vector<std::tuple<std::string, std::string, std::function<void()>>> cases = {
      {missing, kDll + " OpenASCIIout()  76 Path not found//",
       [&] { EXPECT_FALSE(fs::exists(missing)); }},
      // A regular file where the folder should be.
      {plain, kDll + " OpenASCIIout()  76 Path not found//",
       [&] { EXPECT_EQ(ReadFile(plain), "keep me"); }},
  };
  WriteFile(plain, "keep me");
  if (::geteuid() != 0) {  // permissions bind only those who are not root
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    cases.emplace_back(locked, kDll + " OpenASCIIout()  70 Permission denied//",
                       [&] { EXPECT_TRUE(fs::is_empty(locked)); });
  }
  for (const auto& [folder, opening, unchanged] : cases) {
    SCOPED_TRACE(folder);
    Format_Class fc;
    const HostView v = RunBatch(fc, folder, "claims.837", ExampleBatch());
    EXPECT_EQ(v.recordResults.at(0), 1);
    EXPECT_EQ(v.messages.at(0), opening);
    EXPECT_TRUE(v.Saw(kDll + " OpenLog()  Error:  7"));
    EXPECT_GE(v.FirstRecordAnswering(3), 1);
    EXPECT_TRUE(v.Saw(kDll + " WriteASCIIOUT()  52 Bad file name or number"));
    // Every charge group was closed by the host, though none was billed.
    EXPECT_FALSE(v.Saw("has no end of charge group"));
    EXPECT_EQ(v.endOfFile, 1);
    EXPECT_EQ(v.finalCheck, 1);
    // The final check's messages come last.
    EXPECT_EQ(std::vector<std::string>(v.messages.end() - 2, v.messages.end()),
              (std::vector<std::string>{" 3//ProcessFormattedRecords()  File Not Found: //",
                                        " 3//File: " + folder + "/claims.837//"}));
    unchanged();
  }
}

// A disk that fills for good, a single lost write (the segments it carried
// are gone even when the disk has room again) and a disk full while the file
// is closed: the failure is reported where it happens, the batch never ends
// in success and the file left fails the check.
TEST_F(Surroundings, ClaimFileThatLosesWritesIsNeverReportedComplete) {
  const Batch& batch = Generated<3000>();
  const struct {
    const char* what;
    int after, times;
    bool atClose;
    std::string message;
  } cases[] = {
      {"disk full", 1, -1, false, kDll + " WriteASCIIOUT()  61 Disk full"},
      {"one lost write", 1, 1, false, kDll + " WriteASCIIOUT()  61 Disk full"},
      {"full at close", 0, -1, true, kDll + " CloseASCIIout()  61 Disk full//"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(OutFolder());
    fs::create_directories(OutFolder());
    SetWriteFaultForTesting(nullptr);
    BatchHooks hooks;
    if (c.atClose) {
      hooks.beforeEnd = [&] { FailWrites(Out("claims.837"), c.after, c.times); };
    } else {
      FailWrites(Out("claims.837"), c.after, c.times);
    }
    Format_Class fc;
    const HostView v = RunBatch(fc, OutFolder(), "claims.837", batch, hooks);
    const std::int64_t failed = v.FirstRecordAnswering(3);
    EXPECT_TRUE(v.Saw(c.message));
    if (c.atClose) {
      EXPECT_EQ(failed, -1);
    } else {
      // The write fails with the end of a claim, and names what was lost.
      ASSERT_GT(failed, 0);
      EXPECT_TRUE(batch[static_cast<std::size_t>(failed)].key.ends_with("6990"));
      EXPECT_TRUE(v.Saw("The Data was: "));
    }
    EXPECT_EQ(v.endOfFile, 1);
    EXPECT_NE(v.finalCheck, 0);
    EXPECT_FALSE(CheckGuideFile(Out("claims.837")).ok());
    // What reached a disk that stayed full is only what came before.
    if (c.times < 0 && !c.atClose) {
      EXPECT_LE(FileLength(Out("claims.837")), 64 * 1024);
    }
  }
}

// A report whose document cannot be written to the end answers 3 with the
// report's failure message, and the part written does not stay behind.
TEST_F(Surroundings, ReportDocumentsThatCannotBeCompletedAreReportedAndRemoved) {
  Format_Class fc;
  ASSERT_EQ(RunBatch(fc, OutFolder(), "claims.837", Generated<10000>()).endOfFile, 0);
  fc.HereIsAMessage("7", kPdfPrinterName);
  const std::string claims = Out("claims.837");
  const std::string summary = " 3//Summary_Report_It()  Error:  61 Disk full//",
                    nac = " 3//NAC_Report()  Error:  61 Disk full//";
  const struct {
    const char* report;
    std::string document, error, file;
    int after;  // physical writes that succeed first
  } cases[] = {
      // In the middle of the document; at its end after a part reached the
      // disk; at the end of a small one (its only write).
      {"1", claims + "_Summary.pdf", summary, claims, 0},
      {"1", claims + "_Summary.pdf", summary, claims, 1},
      {"2", claims + "_NAC.pdf", nac, claims + "_NAC.Dat", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.document + " after " + std::to_string(c.after));
    FailWrites(c.document, c.after, -1);
    EXPECT_EQ(fc.HereIsAMessage("9", c.report), 3);
    EXPECT_EQ(ReadAllMessages(fc),
              (std::vector<std::string>{c.error, " 3//File: " + c.file + "//"}));
    EXPECT_GT(calls_.load(), c.after);
    EXPECT_FALSE(fs::exists(c.document));
    // With room again the same report is written whole.
    SetWriteFaultForTesting(nullptr);
    EXPECT_EQ(fc.HereIsAMessage("9", c.report), 0);
    EXPECT_GT(FileLength(c.document), 0);
  }
}

// Links and odd files planted where the component creates its files. The
// claim file, the _NAC.Dat file and both report documents are made afresh in
// their place, the run log is appended to only when it is a plain file of the
// user, and whatever a planted link points at never changes, even while a
// planter keeps replanting during whole batches.

TEST_F(Surroundings, LinksPlantedBeforeTheBatchAreReplacedNeverFollowed) {
  WriteVictims();
  for (std::size_t i = 0; i < kCreated.size(); ++i) fs::create_symlink(Victim(i), Out(kCreated[i]));
  // A dangling link in the claim file's place: its target is not created.
  fs::remove(Out("claims.837"));
  fs::create_symlink(home.File("absent"), Out("claims.837"));

  std::vector<std::int16_t> reports;
  const HostView v = RunWithReports(reports);
  EXPECT_EQ(v.recordResults.at(0), 1);
  EXPECT_TRUE(v.Saw(kDll + " OpenLog()  Error:  75 Path/File access error"));
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_EQ(v.finalCheck, 0);
  EXPECT_EQ(reports, (std::vector<std::int16_t>{0, 0}));
  ExpectVictimsIntact();
  EXPECT_FALSE(fs::exists(home.File("absent")));
  for (std::size_t i = 0; i + 1 < kCreated.size(); ++i) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Out(kCreated[i])))) << kCreated[i];
  }
  EXPECT_TRUE(CheckGuideFile(Out("claims.837")).ok());
}

TEST_F(Surroundings, RunLogIsAppendedToOnlyWhenItIsAPlainFileOfTheUser) {
  const std::string victim = home.File("victim");
  const std::string log = Out(kLog);
  std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"folder", [&] { fs::create_directories(log); }},
      {"link", [&] { fs::create_symlink(victim, log); }},
      {"hard link", [&] { fs::create_hard_link(victim, log); }},
      {"pipe", [&] { ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0); }},
  };
  if (::geteuid() == 0) {  // only root can give a file away
    cases.emplace_back("another user's file", [&] {
      fs::copy_file(victim, log);
      ASSERT_EQ(::chown(log.c_str(), 65534, 65534), 0);
    });
  }
  for (const auto& [what, plant] : cases) {
    SCOPED_TRACE(what);
    fs::remove_all(OutFolder());
    fs::create_directories(OutFolder());
    WriteFile(victim, "victim\n");
    plant();
    Format_Class fc;
    const HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch());
    // Only the first record hears of it; the batch is complete without a log.
    EXPECT_EQ(v.recordResults.at(0), 1);
    ASSERT_EQ(v.messages.size(), 1u);
    EXPECT_TRUE(v.messages[0].starts_with(kDll + " OpenLog()  Error: ")) << v.messages[0];
    EXPECT_EQ(std::count(v.recordResults.begin(), v.recordResults.end(), 0),
              std::ssize(v.recordResults) - 1);
    EXPECT_EQ(v.endOfFile, 0);
    EXPECT_EQ(v.finalCheck, 0);
    EXPECT_TRUE(CheckGuideFile(Out("claims.837")).ok());
    EXPECT_EQ(ReadFile(victim), "victim\n");
    if (fs::is_regular_file(fs::symlink_status(log))) {
      EXPECT_EQ(ReadFile(log), "victim\n");
    }
  }
}

TEST_F(Surroundings, APlanterRacingWholeBatchesNeverRedirectsAFile) {
  WriteVictims();
  std::atomic<bool> stop{false};
  std::atomic<long> planted{0};
  std::thread planter([&] {
    while (!stop) {
      for (std::size_t i = 0; i < kCreated.size(); ++i) {
        const std::string name = Out(kCreated[i]);
        ::unlink(name.c_str());
        if (::symlink(Victim(i).c_str(), name.c_str()) == 0) ++planted;
      }
    }
  });
  // At least eight batches, and as many more as it takes (on a busy machine)
  // for the planter to have planted its links many times over.
  for (int run = 0; run < 8 || (planted < 100 && run < 400); ++run) {
    std::vector<std::int16_t> reports;
    const HostView v = RunWithReports(reports);
    // Only answers of the protocol, whatever the planter did.
    for (std::int16_t r : v.recordResults) EXPECT_TRUE(r == 0 || r == 1 || r == 3) << r;
    for (std::int16_t r : reports) EXPECT_TRUE(r == 0 || r == 3) << r;
  }
  stop = true;
  planter.join();
  EXPECT_GT(planted.load(), 100);
  ExpectVictimsIntact();
}

// Reference data that goes missing: settings files that are absent or cannot
// be read, and a database that disappears in the middle of a batch. The
// lookups fall back to the records' own values; their failures are in the
// message list right after the call that met them, and the claim file stays
// sound.

// A settings file that is missing, or anything but a regular file in its
// place (a folder, a pipe that would block a reader for ever), is "file not
// found" at each lookup; the batch goes on with the records' own values.
TEST_F(Surroundings, SettingsFilesThatAreMissingOrNotFilesAreNotFoundAtEachLookup) {
  const std::pair<const char*, std::function<void(const std::string&)>> kinds[] = {
      {"missing", [](const std::string&) {}},
      {"folder", [](const std::string& path) { fs::create_directories(path); }},
      {"pipe", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
  };
  const Batch batch = ExampleBatch();
  for (const auto& [kind, plant] : kinds) {
    SCOPED_TRACE(kind);
    for (const char* name : {"QBEX_ALT_PRACTICENAME.DAT", "QBEX_CFG_NPICMS.DAT"}) {
      fs::remove_all(Setting(name));
      plant(Setting(name));
    }
    Format_Class fc;
    const HostView v = RunBatch(fc, OutFolder(), "claims.837", batch);
    EXPECT_EQ(Count(v.heard, kDll + " had a problem in CheckForAlternatePracticeName  Error: 53 "
                                    "File not found"),
              static_cast<std::size_t>(std::count_if(batch.begin(), batch.end(), IsPractice)));
    EXPECT_EQ(Count(v.heard, kDll + "FillNPILegacyDateArray  Error: 53 File not found"), 1u);
    EXPECT_EQ(v.endOfFile, 0);
    EXPECT_EQ(v.finalCheck, 0);
    // The practice keeps its own name; the claim file is complete.
    EXPECT_EQ(ReadFile(Out("claims.837")).find("LAKESHORE EMERGENCY TRANSPORT"), std::string::npos);
    EXPECT_TRUE(CheckGuideFile(Out("claims.837")).ok());
  }
}

// A private ODBC configuration with one SQLite data source per test.
class DatabaseFaults : public Surroundings {
 protected:
  void SetUp() override {
    Surroundings::SetUp();
    const char* driver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
    if (!fs::exists(driver)) GTEST_SKIP() << "the SQLite ODBC driver is not installed";
    const std::string make =
        "sqlite3 -bail " + database + " < " + SourceDir() + "/examples/db/schema.sql";
    ASSERT_EQ(std::system(make.c_str()), 0);
    WriteFile(home.File("odbcinst.ini"), std::string("[SQLite3]\nDriver=") + driver + "\n");
    WriteFile(home.File("odbc.ini"),
              "[wc_faults]\nDriver=SQLite3\nDatabase=" + database + "\nNoCreat=1\n");
    ::setenv("ODBCSYSINI", home.path().c_str(), 1);
    ::setenv("ODBCINI", home.File("odbc.ini").c_str(), 1);
  }
  // Connects, then runs the example batch: every message heard, from the
  // connection on, must keep the password out.
  std::vector<std::string> Run(const std::string& dsn, const BatchHooks& hooks = {}) {
    Format_Class fc;
    EXPECT_EQ(fc.HereIsAMessage("CONNECTIONSTRING", dsn), 0);  // whatever happens
    std::vector<std::string> heard = ReadAllMessages(fc);
    const HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch(), hooks);
    heard.insert(heard.end(), v.heard.begin(), v.heard.end());
    for (const std::string& m : heard) EXPECT_EQ(m.find("PWD="), std::string::npos) << m;
    EXPECT_EQ(v.FirstRecordAnswering(3), -1);
    EXPECT_EQ(v.endOfFile, 0);
    EXPECT_EQ(v.finalCheck, 0);
    const GuideReport check = CheckGuideFile(Out("claims.837"));
    EXPECT_TRUE(check.ok()) << ::testing::PrintToString(check.errors);
    EXPECT_GT(check.totals.claims, 3);
    return heard;
  }
  std::string database = home.File("reference.sqlite");
};

TEST_F(DatabaseFaults, DatabaseLostMidBatchFallsBackAndKeepsTheClaimFileSound) {
  // The second practice's records come after the database is gone.
  const Batch batch = ExampleBatch();
  const auto second = std::find_if(batch.begin() + 1, batch.end(), IsPractice);
  ASSERT_NE(second, batch.end());
  BatchHooks hooks;
  hooks.beforeRecord = [&](std::size_t i) {
    if (i != static_cast<std::size_t>(second - batch.begin())) return;
    // The open connection now meets an empty file, then no file at all.
    fs::resize_file(database, 0);
    fs::remove(database);
  };
  const std::vector<std::string> heard = Run("wc_faults", hooks);
  // The tables are reached on the second, unqualified attempt; after that
  // only the lookups fail.
  ASSERT_FALSE(heard.empty());
  EXPECT_NE(heard[0].find("no such table: QEL_TABLES.PRACTICE"), std::string::npos);
  EXPECT_GE(Count(heard, kDll + "FetchAlternatePracticeNPIFromDB   Error:"), 1u);
  EXPECT_EQ(Count(heard, "FetchAlternatePracticeNPIFromDB"), heard.size() - 1);
}

// A data source name that is empty or blank opens no connection, even with
// a default data source configured (its driver would otherwise create a
// database file named after the whole connection string).
TEST_F(DatabaseFaults, EmptyDataSourceNameOpensNoConnection) {
  WriteFile(home.File("odbc.ini"), "[Default]\nDriver=SQLite3\n");
  const fs::path before = fs::current_path();
  fs::current_path(home.path());
  for (const char* name : {"", "  "}) {
    EXPECT_TRUE(Run(name).empty());
  }
  fs::current_path(before);
  for (const auto& entry : fs::directory_iterator(home.path())) {
    EXPECT_EQ(entry.path().filename().string().find("UID="), std::string::npos);
  }
}

}  // namespace
}  // namespace wcomp837::testing
