// Connection and lookups against real databases through the unixODBC driver
// manager with a private configuration (ODBCSYSINI/ODBCINI point to a
// temporary folder): every scenario runs on a SQLite file through the SQLite3
// ODBC driver, and on a PostgreSQL server started once per test program on
// loopback when the machine allows it.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include "ref_fixture.h"

namespace wcomp837::testing {
namespace {

namespace fs = std::filesystem;

const std::string kOdbcLibs = "/usr/lib/x86_64-linux-gnu/odbc/";
const std::string kUser = "qeladmin";
const char* const kTables[] = {"QBEX_NpiLegacy", "QBEX_MultiNPI", "PRACTICE", "COMPANY"};

int Run(const std::string& command) {
  return std::system(command.c_str());
}

std::string ConnectionStringFor(const std::string& dsn) {
  return "DSN=" + dsn + ";UID=" + kUser + ";PWD=" + kPassword;
}

// Registers a data source in this program's private ODBC configuration,
// which is made on first use with the two drivers and a data source whose
// SQLite file does not exist.
TempDir& OdbcConfigDir() {
  static TempDir dir;
  return dir;
}

void AddDsn(const std::string& name, const std::string& body) {
  TempDir& dir = OdbcConfigDir();
  static std::map<std::string, std::string> dsns = [&dir] {
    WriteFile(dir.File("odbcinst.ini"),
              "[SQLite3]\nDriver=" + kOdbcLibs +
                  "libsqlite3odbc.so\n\n[PostgreSQL ANSI]\nDriver=" + kOdbcLibs + "psqlodbca.so\n");
    ::setenv("ODBCSYSINI", dir.path().c_str(), 1);
    ::setenv("ODBCINI", dir.File("odbc.ini").c_str(), 1);
    return std::map<std::string, std::string>{
        {"wc_missing_file",
         "Driver=SQLite3\nDatabase=" + dir.File("none.sqlite") + "\nNoCreat=1\n"}};
  }();
  if (!name.empty()) dsns[name] = body;
  std::ofstream ini(dir.File("odbc.ini"), std::ios::trunc);
  for (const auto& [dsn, section] : dsns) ini << "[" << dsn << "]\n" << section << "\n";
}

// The four reference tables of examples/db/schema.sql, recreated empty, on
// SQLite or PostgreSQL. With the qualified schema the tables are where the
// qualified names find them: the schema QEL_TABLES on PostgreSQL, the file
// attached as QEL_TABLES by examples/db/qel_attach.c on SQLite.
class TestDatabase {
 public:
  // A fresh SQLite file: a second data source on it loads the extension.
  TestDatabase() : name("SQLite"), file_(dir_.File("ref.sqlite")) {
    static int counter = 0;
    dsn_ = "wc_sqlite_" + std::to_string(++counter);
    exec_ = "sqlite3 -bail -cmd \"PRAGMA synchronous=OFF\" " + file_ + " < ";
    const std::string body = "Driver=SQLite3\nDatabase=" + file_ + "\n";
    AddDsn(dsn_, body + "NoCreat=1\n");
    AddDsn(dsn_ + "_qel", body + "NoCreat=1\nLoadExt=" WCOMP837_QEL_ATTACH "\n");
  }
  ~TestDatabase() {
    if (pid_ > 0) {  // the postmaster this program started: fast shutdown
      ::kill(pid_, SIGINT);
      for (int i = 0; i < 200 && ::kill(pid_, 0) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    }
  }
  std::string Dsn() const { return qualified_ && !postgres_ ? dsn_ + "_qel" : dsn_; }
  void Reset() {
    qualified_ = false;
    std::string sql = postgres_ ? "DROP SCHEMA IF EXISTS \"QEL_TABLES\" CASCADE;\n" : "";
    for (const char* table : kTables) sql += std::string("DROP TABLE IF EXISTS ") + table + ";\n";
    sql += ReadFile(SourceDir() + "/examples/db/schema.sql") + "\n";
    for (const char* table : kTables) sql += std::string("DELETE FROM ") + table + ";\n";
    Exec(sql);
  }
  void UseQualifiedSchema() {
    qualified_ = true;
    if (!postgres_) return;
    std::string sql = "CREATE SCHEMA \"QEL_TABLES\";\n";
    for (const char* table : kTables) {
      sql += std::string("ALTER TABLE ") + table + " SET SCHEMA \"QEL_TABLES\";\n";
    }
    Exec(sql);
  }
  void Exec(const std::string& sql) {
    WriteFile(dir_.File("exec.sql"), sql);
    ::chmod(dir_.File("exec.sql").c_str(), 0644);
    ASSERT_EQ(Run(exec_ + dir_.File("exec.sql")), 0) << sql;
  }

  // A PostgreSQL cluster in a temporary folder (owned by the postgres user
  // when the tests run as root); nullptr with the reason when it cannot start.
  static TestDatabase* Postgres(std::string& why) {
    static std::string reason;
    static std::unique_ptr<TestDatabase> server = [] {
      auto db = std::make_unique<TestDatabase>();
      if (!db->Launch(reason)) db.reset();
      return db;
    }();
    why = reason;
    return server.get();
  }

  const char* name;

 private:
  bool Launch(std::string& why) {
    std::string bin, prefix;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
      if (fs::exists(entry.path() / "bin/initdb")) bin = (entry.path() / "bin/").string();
    }
    if (bin.empty()) return (why = "PostgreSQL server binaries are not installed"), false;
    if (!fs::exists(kOdbcLibs + "psqlodbca.so")) return (why = "no PostgreSQL ODBC driver"), false;
    if (::geteuid() == 0) {
      if (Run("id postgres >/dev/null 2>&1") != 0) return (why = "root without postgres"), false;
      prefix = "runuser -u postgres -- ";
    }
    const std::string d = dir_.path(), port = "5432";  // on a socket in d only
    ::chmod(d.c_str(), 0777);
    WriteFile(d + "/pw", std::string(kPassword) + "\n");
    ::chmod((d + "/pw").c_str(), 0644);
    if (Run(prefix + bin + "initdb -D " + d + "/data -U " + kUser + " --pwfile=" + d +
            "/pw --auth=scram-sha-256 -E UTF8 --no-sync >" + d + "/initdb.log 2>&1") != 0) {
      return (why = "initdb failed: " + ReadFile(d + "/initdb.log")), false;
    }
    if (Run(prefix + bin + "pg_ctl -w -t 30 -D " + d + "/data -l " + d + "/server.log -o \"-p " +
            port + " -c listen_addresses= -c unix_socket_directories=" + d +
            " -c fsync=off\" start >/dev/null 2>&1") != 0) {
      return (why = "the server did not start: " + ReadFile(d + "/server.log")), false;
    }
    std::ifstream(d + "/data/postmaster.pid") >> pid_;
    if (pid_ <= 0) return (why = "the server left no process id"), false;
    name = "PostgreSQL";
    postgres_ = true;
    dsn_ = "wc_postgres";
    exec_ = "PGPASSWORD=" + std::string(kPassword) + " " + bin +
            "psql -X -q -v ON_ERROR_STOP=1 -h " + d + " -p " + port + " -U " + kUser +
            " -d postgres >>" + d + "/psql.log 2>&1 -f ";
    AddDsn(dsn_,
           "Driver=PostgreSQL ANSI\nServername=" + d + "\nPort=" + port + "\nDatabase=postgres\n");
    return true;
  }
  TempDir dir_;
  std::string file_, dsn_, exec_;
  bool qualified_ = false, postgres_ = false;
  pid_t pid_ = 0;
};

class DatabaseScenario : public RefHarness {
 public:
  explicit DatabaseScenario(TestDatabase& db) : db(db) { db.Reset(); }
  void Connect() {
    g.host.gsConnectionString = ConnectionStringFor(db.Dsn());
    SetSchemaAndConnect(c);
  }
  // Connects as the host's CONNECTIONSTRING message does, then forgets the
  // message of the failed qualified attempt.
  void ConnectUnqualified() {
    Connect();
    ASSERT_TRUE(g.host.gbDBConnectionIsGood) << ::testing::PrintToString(Messages());
    ClearMessageArray(g.host);
  }
  std::string Npi(const std::string& p, const std::string& d, const std::string& i) {
    return FetchAlternatePracticeNPIFromDB(c, p, d, i);
  }
  TestDatabase& db;
};

// The qualified attempt fails and says so (without the password); the
// unqualified retry succeeds quietly. A query that fails is reported;
// closing drops the connection.
void QualifierFallback(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO COMPANY VALUES (1,'A','','','','','');INSERT INTO PRACTICE VALUES ('P1',1);");
  s.WriteSetting("QBEX_CFG_NPICMS.DAT", "");
  s.Connect();
  EXPECT_TRUE(s.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(s.g.ref.qualifier, "");
  const auto messages = s.Messages();
  ASSERT_EQ(messages.size(), 1u) << ::testing::PrintToString(messages);
  EXPECT_TRUE(messages[0].starts_with(
      s.g.host.gsDllName + " had a problem in OpenInitialDBConnection()  Error:-2147467259 "))
      << messages[0];
  EXPECT_EQ(messages[0].find(kPassword), std::string::npos);
  // A query that fails is reported and answers nothing.
  ClearMessageArray(s.g.host);
  s.db.Exec("DROP TABLE QBEX_MultiNPI;");
  EXPECT_EQ(s.Npi("P1", "D1", "I1"), "");
  ASSERT_EQ(s.Messages().size(), 1u);
  EXPECT_TRUE(s.Messages()[0].starts_with(s.g.host.gsDllName +
                                          "FetchAlternatePracticeNPIFromDB   Error:-2147467259 "));
  CloseDatabase(s.c);
  EXPECT_FALSE(s.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(s.g.ref.connection, nullptr);
  EXPECT_EQ(s.Npi("P1", "D1", "I1"), "");
}

// Tables where the qualified names find them: the first attempt succeeds,
// in the driver's quote, and nothing is reported.
void QualifiedTables(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO COMPANY VALUES (1,'A','','','','','');INSERT INTO PRACTICE VALUES ('P1',1);"
      "INSERT INTO QBEX_MultiNPI VALUES ('P1','D1','','','1111111111');"
      "INSERT INTO QBEX_NpiLegacy VALUES ('00', '', '2008-05-23');");
  s.db.UseQualifiedSchema();
  s.Connect();
  EXPECT_TRUE(s.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(s.g.ref.qualifier, "\"QEL_TABLES\".");
  EXPECT_EQ(s.Npi("P1", "D1", "I1"), "1111111111");
  EXPECT_EQ(s.g.ref.NPILegacyDates.size(), 1u);
  EXPECT_TRUE(s.Messages().empty()) << ::testing::PrintToString(s.Messages());
}

// This billing form first, then this insurance, then any; codes compare exactly.
void AlternateNpiPrecedence(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO QBEX_MultiNPI VALUES"
      " ('P1','D1','','','3333333333'), ('P1','D1','','INS01','2222222222'),"
      " ('P1','D1','WCOMP_P4','','1111111111'), ('P1','D1','WCOMP_P5','INS01','4444444444'),"
      " ('P1','D2','','INS02','5555555555'), ('P2','D1','WCOMP_P4','INS01','6666666666');");
  s.ConnectUnqualified();
  const char* kCases[][4] = {{"P1", "D1", "INS01", "1111111111"},
                             {"P1", "D1", "INS09", "1111111111"},
                             {"P1", "D2", "INS02", "5555555555"},
                             {"P1", "D2", "INS03", ""},
                             {"P2", "D1", "INS01", "6666666666"},
                             {"P2", "D1", "INS02", ""},
                             {"p1", "D1", "INS01", ""}};
  for (const auto& row : kCases)
    EXPECT_EQ(s.Npi(row[0], row[1], row[2]), row[3]) << row[0] << row[2];
  s.db.Exec("DELETE FROM QBEX_MultiNPI WHERE Billing_Form = 'WCOMP_P4';");
  EXPECT_EQ(s.Npi("P1", "D1", "INS01"), "2222222222");
  EXPECT_EQ(s.Npi("P1", "D1", "INS09"), "3333333333");
  EXPECT_TRUE(s.Messages().empty());
}

// The company's address replaces the practice's, upper-cased, the host's
// values move to the original fields; the fresh connection replaces the
// shared one. An unknown practice, or a code written to widen the query,
// changes nothing.
void OriginalPracticeAddress(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO COMPANY VALUES (7, 'Lakeside Ortho', '400 Harbor Blvd', 'Suite 2', 'Portland',"
      " 'or', '97201');"
      "INSERT INTO PRACTICE VALUES ('LAKE', 7), ('O''BRIEN', 7);"
      "INSERT INTO QBEX_MultiNPI VALUES ('LAKE','D1','','','1588667638'),"
      " ('O''BRIEN','D''1','','','1234567893');");
  s.ConnectUnqualified();
  PracticeRec p{};
  const char* host[] = {"1000", "LAKE", "HOST NAME", "1 MAIN", "", "SALEM", "OR", "97301"};
  for (std::size_t i = 0; i < std::size(host); ++i) p[i] = host[i];
  p[Practice::sCountry] = "CA";
  const auto* before = s.g.ref.connection.get();
  EXPECT_TRUE(FetchOriginalPracticeAddress(s.c, p));
  const std::string now[] = {"LAKESIDE ORTHO", "400 HARBOR BLVD", "SUITE 2", "PORTLAND", "OR",
                             "97201"};
  const std::string kept[] = {"HOST NAME", "1 MAIN", "", "SALEM", "OR", "97301", "CA"};
  for (std::size_t i = 0; i < std::size(now); ++i) EXPECT_EQ(p[Practice::sName + i], now[i]);
  for (std::size_t i = 0; i < std::size(kept); ++i) EXPECT_EQ(p[Practice::sOrigName + i], kept[i]);
  EXPECT_EQ(p[Practice::sCountry], "CA");
  EXPECT_NE(s.g.ref.connection.get(), before);
  EXPECT_EQ(s.Npi("LAKE", "D1", "I"), "1588667638");
  for (const char* code : {"NONE", "X' OR 'a'='a"}) {
    PracticeRec other = p;
    other[Practice::sPracticeCode] = code;
    EXPECT_TRUE(FetchOriginalPracticeAddress(s.c, other));
    other[Practice::sPracticeCode] = "LAKE";
    EXPECT_EQ(other, p) << code;
  }
  // Quotes in codes are data, not query text.
  EXPECT_EQ(s.Npi("O'BRIEN", "D'1", "INS"), "1234567893");
  EXPECT_EQ(s.Npi("LAKE", "X' OR '1'='1", "INS"), "");
  EXPECT_EQ(s.Npi("LAKE' --", "D1", "INS"), "");
  PracticeRec quoted{};
  quoted[Practice::sPracticeCode] = "O'BRIEN";
  EXPECT_TRUE(FetchOriginalPracticeAddress(s.c, quoted));
  EXPECT_EQ(quoted[Practice::sName], "LAKESIDE ORTHO");
  EXPECT_TRUE(s.Messages().empty());
}

// The legacy dates come from the database when it has rows, else from the
// settings file; a row without a date ends the load with a message.
void LegacyDates(DatabaseScenario& s) {
  s.WriteSetting("QBEX_CFG_NPICMS.DAT", "\"00\",\"\",12/31/2099\n\"03\",\"INS01\",2001-01-01\n");
  s.ConnectUnqualified();
  EXPECT_EQ(s.g.ref.NPILegacyDates.size(), 2u);
  EXPECT_TRUE(s.Passed("12345", "INS01"));
  EXPECT_FALSE(s.Passed("12345", "INS02"));
  s.db.Exec(
      "INSERT INTO QBEX_NpiLegacy VALUES ('00', '', '2008-05-23'), ('03', 'ins01', '2099-12-31');");
  s.ConnectUnqualified();
  ASSERT_EQ(s.g.ref.NPILegacyDates.size(), 2u);
  EXPECT_EQ(s.g.ref.NPILegacyDates[1].sValue, "INS01");
  EXPECT_FALSE(s.Passed("12345", "INS01"));
  EXPECT_TRUE(s.Passed("12345", "INS02"));
  EXPECT_TRUE(s.Messages().empty());
  s.db.Exec("INSERT INTO QBEX_NpiLegacy VALUES ('01', 'X', NULL);");
  s.Connect();
  EXPECT_TRUE(s.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(s.g.ref.NPILegacyDates.size(), 1u);  // the rows before it
  ASSERT_EQ(s.Messages().size(), 2u);
  EXPECT_EQ(s.Messages().back(),
            s.g.host.gsDllName + "FillNPILegacyDateArray  Error: 13 Type mismatch");
}

struct Scenario {
  const char* name;
  std::function<void(DatabaseScenario&)> run;
  friend void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }
};
const Scenario kScenarios[] = {
    {"QualifierFallback", QualifierFallback},
    {"QualifiedTables", QualifiedTables},
    {"AlternateNpiPrecedence", AlternateNpiPrecedence},
    {"OriginalPracticeAddress", OriginalPracticeAddress},
    {"LegacyDates", LegacyDates},
};

class Sqlite : public ::testing::TestWithParam<Scenario> {};

TEST_P(Sqlite, Scenario) {
  TestDatabase db;
  DatabaseScenario s(db);
  GetParam().run(s);
}

INSTANTIATE_TEST_SUITE_P(Lookups, Sqlite, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

// One test so that a run of the suite starts the server once.
TEST(Postgres, EveryScenario) {
  std::string why;
  TestDatabase* db = TestDatabase::Postgres(why);
  if (db == nullptr) GTEST_SKIP() << "PostgreSQL not available: " << why;
  for (const Scenario& scenario : kScenarios) {
    SCOPED_TRACE(scenario.name);
    DatabaseScenario s(*db);
    scenario.run(s);
  }
}

// Without a connection string there is no database and no message; a
// connection that fails is reported twice (the qualified attempt and the
// retry) without the password, creates nothing, and the batch goes on with the
// settings file.
TEST(Connection, NoneOrFailedMeansNoDatabase) {
  AddDsn("", "");
  const std::pair<const char*, const char*> kCases[] = {
      {"", ""}, {"wc_no_such_dsn", "Data source name not found"}, {"wc_missing_file", "SQLSTATE"}};
  for (const auto& [dsn, diagnostic] : kCases) {
    SCOPED_TRACE(dsn);
    RefHarness h;
    h.WriteSetting("QBEX_CFG_NPICMS.DAT", "\"00\",\"\",2008-05-23\n");
    if (*dsn) h.g.host.gsConnectionString = ConnectionStringFor(dsn);
    SetSchemaAndConnect(h.c);
    EXPECT_FALSE(h.g.host.gbDBConnectionIsGood);
    EXPECT_EQ(h.g.ref.connection, nullptr);
    const auto messages = h.Messages();
    ASSERT_EQ(messages.size(), *dsn ? 2u : 0u);
    for (const auto& text : messages) {
      EXPECT_TRUE(text.starts_with(h.g.host.gsDllName +
                                   " had a problem in OpenInitialDBConnection()  Error:"));
      EXPECT_NE(text.find(diagnostic), std::string::npos) << text;
      EXPECT_EQ(text.find(kPassword), std::string::npos) << text;
    }
    EXPECT_TRUE(h.Passed("1", "2"));
    EXPECT_EQ(FetchAlternatePracticeNPIFromDB(h.c, "P1", "D1", "I1"), "");
    PracticeRec p{};
    p[Practice::sName] = "KEEP";
    // The address lookup opens a connection of its own: it fails once more.
    EXPECT_EQ(FetchOriginalPracticeAddress(h.c, p), !*dsn);
    EXPECT_EQ(p[Practice::sName], "KEEP");
    EXPECT_EQ(h.Messages().size(), *dsn ? 3u : 0u);
  }
  EXPECT_FALSE(fs::exists(OdbcConfigDir().File("none.sqlite")));  // nothing is created in its place
}

}  // namespace
}  // namespace wcomp837::testing
