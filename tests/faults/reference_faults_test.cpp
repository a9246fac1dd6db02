// Reference data that goes missing: settings files that are absent or cannot
// be read, and a database that disappears in the middle of a batch. The
// lookups fall back to the records' own values; their failures are in the
// message list right after the call that met them, and the claim file stays
// sound.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "faults/batch_runner.h"
#include "faults/component_env.h"

namespace wcomp837::testing {
namespace {

namespace fs = std::filesystem;
const std::string kDll = "QZK_WCOMP_P4_Format.Dll";

// The messages in the list after every call of the batch, whatever it answered.
struct Listening {
  std::vector<std::string> all;
  BatchHooks Hooks(Format_Class& fc) {
    BatchHooks hooks;
    hooks.afterRecord = [this, &fc](std::size_t, std::int16_t) {
      for (std::string& m : ReadAllMessages(fc)) all.push_back(std::move(m));
    };
    return hooks;
  }
  std::size_t Count(const std::string& text) const {
    std::size_t n = 0;
    for (const std::string& m : all) n += m.find(text) != std::string::npos;
    return n;
  }
};

std::size_t PracticeRecords(const Batch& batch) {
  std::size_t n = 0;
  for (const BatchLine& line : batch) n += line.key.size() >= 4 && line.key.ends_with("1000");
  return n;
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
      fs::remove_all(ComponentFolder() + "/" + name);
      plant(ComponentFolder() + "/" + name);
    }
    Format_Class fc;
    Listening heard;
    const HostView v = RunBatch(fc, OutFolder(), "claims.837", batch, heard.Hooks(fc));
    EXPECT_EQ(
        heard.Count(" 3//" + kDll +
                    " had a problem in CheckForAlternatePracticeName  Error: 53 File not found"),
        PracticeRecords(batch));
    EXPECT_EQ(heard.Count(" 3//" + kDll + "FillNPILegacyDateArray  Error: 53 File not found"), 1u);
    EXPECT_EQ(v.endOfFile, 0);
    EXPECT_EQ(v.finalCheck, 0);
    // The practice keeps its own name; the claim file is complete.
    const std::string claims = ReadFile(Out("claims.837"));
    EXPECT_EQ(claims.find("LAKESHORE EMERGENCY TRANSPORT"), std::string::npos);
    EXPECT_TRUE(CheckGuideFile(Out("claims.837")).ok());
  }
}

// A private ODBC configuration with one SQLite data source per test.
class DatabaseFaults : public ComponentEnv {
 protected:
  void SetUp() override {
    ComponentEnv::SetUp();
    if (!fs::exists(kDriver)) GTEST_SKIP() << "the SQLite ODBC driver is not installed";
    database = home.File("reference.sqlite");
    const std::string make =
        "sqlite3 -bail " + database + " < " + SourceDir() + "/examples/db/schema.sql";
    ASSERT_EQ(std::system(make.c_str()), 0);
    WriteFile(home.File("odbcinst.ini"), std::string("[SQLite3]\nDriver=") + kDriver + "\n");
    WriteFile(home.File("odbc.ini"),
              "[wc_faults]\nDriver=SQLite3\nDatabase=" + database + "\nNoCreat=1\n");
    ::setenv("ODBCSYSINI", home.path().c_str(), 1);
    ::setenv("ODBCINI", home.File("odbc.ini").c_str(), 1);
  }
  static constexpr const char* kDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
  std::string database;
};

TEST_F(DatabaseFaults, DatabaseLostMidBatchFallsBackAndKeepsTheClaimFileSound) {
  const Batch batch = ExampleBatch();
  // The second practice's records come after the database is gone.
  std::size_t secondPractice = 0;
  for (std::size_t i = 1; i < batch.size(); ++i) {
    if (batch[i].key.ends_with("1000")) {
      secondPractice = i;
      break;
    }
  }
  ASSERT_GT(secondPractice, 0u);

  Format_Class fc;
  // The tables are reached on the second, unqualified attempt.
  ASSERT_EQ(fc.HereIsAMessage("CONNECTIONSTRING", "wc_faults"), 0);
  const std::vector<std::string> connecting = ReadAllMessages(fc);
  ASSERT_EQ(connecting.size(), 1u);
  EXPECT_NE(connecting[0].find("no such table: QEL_TABLES.PRACTICE"), std::string::npos);
  Listening heard;
  BatchHooks hooks = heard.Hooks(fc);
  hooks.beforeRecord = [&](std::size_t i) {
    if (i != secondPractice) return;
    // The open connection now meets an empty file, then no file at all.
    fs::resize_file(database, 0);
    fs::remove(database);
  };
  const HostView v = RunBatch(fc, OutFolder(), "claims.837", batch, hooks);

  EXPECT_GE(heard.Count(" 3//" + kDll + "FetchAlternatePracticeNPIFromDB   Error:"), 1u);
  for (const std::string& m : heard.all) {
    EXPECT_NE(m.find("FetchAlternatePracticeNPIFromDB"), std::string::npos) << m;
    EXPECT_EQ(m.find("PWD="), std::string::npos) << m;
  }
  EXPECT_EQ(v.FirstRecordAnswering(3), -1);
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_EQ(v.finalCheck, 0);
  const GuideReport check = CheckGuideFile(Out("claims.837"));
  EXPECT_TRUE(check.ok()) << ::testing::PrintToString(check.errors);
  EXPECT_GT(check.totals.claims, 3);
}

TEST_F(DatabaseFaults, DatabaseMissingAtConnectionIsReportedAndTheBatchRuns) {
  fs::remove(database);
  Format_Class fc;
  // The connection answers 0 whatever happens; both attempts leave a message.
  EXPECT_EQ(fc.HereIsAMessage("CONNECTIONSTRING", "wc_faults"), 0);
  const std::vector<std::string> said = ReadAllMessages(fc);
  ASSERT_EQ(said.size(), 2u);
  for (const std::string& m : said) {
    EXPECT_EQ(m.rfind(" 3//" + kDll + " had a problem in OpenInitialDBConnection()  Error:", 0), 0u)
        << m;
    EXPECT_EQ(m.find("PWD="), std::string::npos) << m;
  }
  const HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch());
  EXPECT_EQ(v.FirstRecordAnswering(3), -1);
  EXPECT_EQ(v.endOfFile, 0);
  EXPECT_TRUE(CheckGuideFile(Out("claims.837")).ok());
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
    Format_Class fc;
    EXPECT_EQ(fc.HereIsAMessage("CONNECTIONSTRING", name), 0);
    EXPECT_TRUE(ReadAllMessages(fc).empty());
    const HostView v = RunBatch(fc, OutFolder(), "claims.837", ExampleBatch());
    EXPECT_EQ(v.endOfFile, 0);
    EXPECT_TRUE(v.messages.empty());
  }
  fs::current_path(before);
  for (const auto& entry : fs::directory_iterator(home.path())) {
    EXPECT_EQ(entry.path().filename().string().find("UID="), std::string::npos);
  }
}

}  // namespace
}  // namespace wcomp837::testing
