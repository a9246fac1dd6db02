// Reference data that goes missing: settings files that are absent or cannot
// be read, and a database that disappears in the middle of a batch. The
// lookups fall back to the records' own values; their failures are in the
// message list right after the call that met them, and the claim file stays
// sound.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "faults/batch_runner.h"
#include "faults/component_env.h"

namespace wcomp837::testing {
namespace {

namespace fs = std::filesystem;
const std::string kDll = " 3//QZK_WCOMP_P4_Format.Dll";

std::size_t Count(const std::vector<std::string>& messages, const std::string& text) {
  return std::count_if(messages.begin(), messages.end(),
                       [&](const std::string& m) { return m.find(text) != std::string::npos; });
}

bool IsPractice(const BatchLine& line) {
  return line.key.ends_with("1000");
}

class ReferenceFaults : public ComponentEnv {};

// A settings file that is missing, or anything but a regular file in its
// place (a folder, a pipe that would block a reader for ever), is "file not
// found" at each lookup; the batch goes on with the records' own values.
TEST_F(ReferenceFaults, SettingsFilesThatAreMissingOrNotFilesAreNotFoundAtEachLookup) {
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
class DatabaseFaults : public ComponentEnv {
 protected:
  void SetUp() override {
    ComponentEnv::SetUp();
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

TEST_F(DatabaseFaults, DatabaseMissingAtConnectionIsReportedAndTheBatchRuns) {
  fs::remove(database);
  const std::vector<std::string> heard = Run("wc_faults");
  // Both attempts leave a message; nothing is created in its place.
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(Count(heard, kDll + " had a problem in OpenInitialDBConnection()  Error:"), 2u);
  EXPECT_FALSE(fs::exists(database));
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
