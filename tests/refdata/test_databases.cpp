#include "test_databases.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "support/test_support.h"

namespace wcomp837::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOdbcLibs = "/usr/lib/x86_64-linux-gnu/odbc/";
constexpr const char* kUser = "qeladmin";
constexpr const char* kPassword = "t4mx9kz2pd7w";

int Run(const std::string& command) {
  return std::system(command.c_str());
}

// The private ODBC configuration of this test program.
class OdbcConfig {
 public:
  static OdbcConfig& Get() {
    static OdbcConfig config;
    return config;
  }
  const std::string& dir() const { return dir_.path(); }
  void AddDsn(const std::string& name, const std::string& body) {
    dsns_[name] = body;
    std::ofstream ini(dir_.File("odbc.ini"), std::ios::trunc);
    for (const auto& [dsn, section] : dsns_) ini << "[" << dsn << "]\n" << section << "\n";
  }

 private:
  OdbcConfig() {
    std::ofstream drivers(dir_.File("odbcinst.ini"), std::ios::trunc);
    drivers << "[SQLite3]\nDriver=" << kOdbcLibs << "libsqlite3odbc.so\n\n"
            << "[PostgreSQL ANSI]\nDriver=" << kOdbcLibs << "psqlodbca.so\n\n";
    drivers.close();
    ::setenv("ODBCSYSINI", dir_.path().c_str(), 1);
    ::setenv("ODBCINI", dir_.File("odbc.ini").c_str(), 1);
    AddDsn("wc_missing_file",
           "Driver=SQLite3\nDatabase=" + dir_.File("no-such.sqlite") + "\nNoCreat=1\n");
  }
  TempDir dir_;
  std::map<std::string, std::string> dsns_;
};

// The example schema with its example rows removed.
std::string EmptyTablesScript() {
  return ReadFile(SourceDir() + "/examples/db/schema.sql") +
         "\nDELETE FROM QBEX_NpiLegacy; DELETE FROM QBEX_MultiNPI; DELETE FROM PRACTICE; "
         "DELETE FROM COMPANY;\n";
}

const std::string kSqlite = "sqlite3 -bail -cmd \"PRAGMA synchronous=OFF\" ";

// An empty database file made once per program; each test gets a copy.
const std::string& SqliteTemplate() {
  static TempDir dir;
  static const std::string file = [] {
    const std::string path = dir.File("template.sqlite");
    WriteFile(dir.File("schema.sql"), EmptyTablesScript());
    EXPECT_EQ(Run(kSqlite + path + " < " + dir.File("schema.sql")), 0);
    return path;
  }();
  return file;
}

class SqliteDatabase : public TestDatabase {
 public:
  SqliteDatabase() : file_(dir_.File("ref.sqlite")) {
    static int counter = 0;
    dsn_ = "wc_sqlite_" + std::to_string(++counter);
    // A second data source on the same file loads the extension that
    // attaches it as QEL_TABLES.
    const std::string body = "Driver=SQLite3\nDatabase=" + file_ + "\nNoCreat=1\n";
    OdbcConfig::Get().AddDsn(dsn_, body);
    OdbcConfig::Get().AddDsn(dsn_ + "_qel", body + "LoadExt=" WCOMP837_QEL_ATTACH "\n");
    Reset();
  }
  std::string Name() const override { return "SQLite"; }
  std::string Dsn() const override { return qualified_ ? dsn_ + "_qel" : dsn_; }
  void Reset() override {
    qualified_ = false;
    fs::copy_file(SqliteTemplate(), file_, fs::copy_options::overwrite_existing);
  }
  void UseQualifiedSchema() override { qualified_ = true; }
  void Exec(const std::string& sql) override {
    const std::string script = dir_.File("exec.sql");
    WriteFile(script, sql);
    ASSERT_EQ(Run(kSqlite + file_ + " < " + script), 0) << sql;
  }

 private:
  TempDir dir_;
  std::string file_;
  std::string dsn_;
  bool qualified_ = false;
};

// A PostgreSQL cluster in a temporary folder, owned by the postgres user when
// the tests run as root; stopped by its process id when the program ends.
class PostgresServer : public TestDatabase {
 public:
  static PostgresServer* Start(std::string& why) {
    auto server = std::unique_ptr<PostgresServer>(new PostgresServer());
    if (!server->Launch(why)) return nullptr;
    return server.release();
  }
  ~PostgresServer() override { Stop(); }
  std::string Name() const override { return "PostgreSQL"; }
  std::string Dsn() const override { return "wc_postgres"; }
  void Reset() override {
    Exec(
        "DROP SCHEMA IF EXISTS \"QEL_TABLES\" CASCADE;\n"
        "DROP TABLE IF EXISTS QBEX_NpiLegacy, QBEX_MultiNPI, PRACTICE, COMPANY;\n" +
        EmptyTablesScript());
  }
  void UseQualifiedSchema() override {
    std::string sql = "CREATE SCHEMA \"QEL_TABLES\";\n";
    for (const char* table : {"QBEX_NpiLegacy", "QBEX_MultiNPI", "PRACTICE", "COMPANY"}) {
      sql += std::string("ALTER TABLE ") + table + " SET SCHEMA \"QEL_TABLES\";\n";
    }
    Exec(sql);
  }
  void Exec(const std::string& sql) override {
    const std::string script = dir_ + "/exec.sql";
    WriteFile(script, sql);
    ::chmod(script.c_str(), 0644);
    ASSERT_EQ(Psql("-f " + script), 0) << sql;
  }
  void Stop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGINT);  // fast shutdown of the postmaster this program started
      for (int i = 0; i < 200 && ::kill(pid_, 0) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      pid_ = 0;
    }
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
    dir_.clear();
  }

 private:
  PostgresServer() = default;

  int Psql(const std::string& args) {
    return Run(bin_ + "/psql -X -q -v ON_ERROR_STOP=1 -h " + dir_ + " -p " + std::to_string(port_) +
               " -U " + kUser + " -d postgres " + args + " >>" + dir_ + "/psql.log 2>&1");
  }

  static int FreePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
      port = ntohs(addr.sin_port);
    }
    ::close(fd);
    return port;
  }

  bool Launch(std::string& why) {
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec_)) {
      if (fs::exists(entry.path() / "bin/initdb")) bin_ = (entry.path() / "bin").string();
    }
    if (bin_.empty()) return (why = "PostgreSQL server binaries are not installed"), false;
    if (!fs::exists(std::string(kOdbcLibs) + "psqlodbca.so")) {
      return (why = "the PostgreSQL ODBC driver is not installed"), false;
    }
    std::string prefix;
    if (::geteuid() == 0) {
      if (Run("id postgres >/dev/null 2>&1") != 0) {
        return (why = "running as root and there is no postgres user"), false;
      }
      prefix = "runuser -u postgres -- ";
    }
    char tmpl[] = "/tmp/wcomp837-pg-XXXXXX";
    if (::mkdtemp(tmpl) == nullptr) return (why = "no temporary folder"), false;
    dir_ = tmpl;
    ::chmod(dir_.c_str(), 0777);
    WriteFile(dir_ + "/pw", std::string(kPassword) + "\n");
    ::chmod((dir_ + "/pw").c_str(), 0644);
    port_ = FreePort();
    if (port_ == 0) return (why = "no free loopback port"), false;
    if (Run(prefix + bin_ + "/initdb -D " + dir_ + "/data -U " + kUser + " --pwfile=" + dir_ +
            "/pw --auth-host=scram-sha-256 --auth-local=trust -E UTF8 --no-sync >" + dir_ +
            "/initdb.log 2>&1") != 0) {
      why = "initdb failed: " + ReadFile(dir_ + "/initdb.log");
      return false;
    }
    if (Run(prefix + bin_ + "/pg_ctl -w -t 30 -D " + dir_ + "/data -l " + dir_ +
            "/server.log -o \"-p " + std::to_string(port_) +
            " -c listen_addresses=127.0.0.1 -c unix_socket_directories=" + dir_ +
            " -c fsync=off\" start >/dev/null 2>&1") != 0) {
      why = "the server did not start: " + ReadFile(dir_ + "/server.log");
      return false;
    }
    std::ifstream pidFile(dir_ + "/data/postmaster.pid");
    pidFile >> pid_;
    if (pid_ <= 0) return (why = "the server left no process id"), false;
    OdbcConfig::Get().AddDsn(Dsn(), "Driver=PostgreSQL ANSI\nServername=127.0.0.1\nPort=" +
                                        std::to_string(port_) + "\nDatabase=postgres\n");
    return true;
  }

  std::error_code ec_;
  std::string bin_;
  std::string dir_;
  int port_ = 0;
  pid_t pid_ = 0;
};

// Stops the server when the test program ends.
class PostgresEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { server_.reset(); }
  std::unique_ptr<PostgresServer> server_;
  std::string why_;
  bool tried_ = false;
};
PostgresEnvironment* g_postgres =
    static_cast<PostgresEnvironment*>(::testing::AddGlobalTestEnvironment(new PostgresEnvironment));

}  // namespace

std::string ConnectionStringFor(const std::string& dsn) {
  return "DSN=" + dsn + ";UID=" + kUser + ";PWD=" + kPassword;
}

std::unique_ptr<TestDatabase> MakeSqliteDatabase() {
  OdbcConfig::Get();
  return std::make_unique<SqliteDatabase>();
}

TestDatabase* PostgresDatabase(std::string& why) {
  OdbcConfig::Get();
  if (!g_postgres->tried_) {
    g_postgres->tried_ = true;
    g_postgres->server_.reset(PostgresServer::Start(g_postgres->why_));
  }
  why = g_postgres->why_;
  return g_postgres->server_.get();
}

std::string MissingFileDsn() {
  OdbcConfig::Get();
  return "wc_missing_file";
}

}  // namespace wcomp837::testing
