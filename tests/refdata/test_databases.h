// Real databases for the reference-data tests, reached through the unixODBC
// driver manager with a private configuration (ODBCSYSINI/ODBCINI point to a
// temporary folder): a SQLite file through the SQLite3 ODBC driver, and a
// PostgreSQL server started once per test program on loopback when the
// machine allows it.
#pragma once

#include <memory>
#include <string>

namespace wcomp837::testing {

// The connection string the component builds for a data source name.
std::string ConnectionStringFor(const std::string& dsn);

class TestDatabase {
 public:
  virtual ~TestDatabase() = default;
  virtual std::string Name() const = 0;
  virtual std::string Dsn() const = 0;
  // Recreates the four reference tables (examples/db/schema.sql), empty.
  virtual void Reset() = 0;
  // Runs SQL statements; fails the test on error.
  virtual void Exec(const std::string& sql) = 0;
  // Puts the tables where the qualified names find them (until Reset): the
  // schema QEL_TABLES on PostgreSQL, the database attached as QEL_TABLES by
  // examples/db/qel_attach.c on SQLite.
  virtual void UseQualifiedSchema() = 0;
};

// A fresh SQLite database file registered as a DSN.
std::unique_ptr<TestDatabase> MakeSqliteDatabase();
// The PostgreSQL server of this test program, started on first use; nullptr
// when it cannot be started, with the reason in `why`.
TestDatabase* PostgresDatabase(std::string& why);

// A DSN registered with the SQLite driver whose database file does not exist.
std::string MissingFileDsn();

}  // namespace wcomp837::testing
