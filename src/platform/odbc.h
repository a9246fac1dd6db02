// Read-only database access through the ODBC driver manager. A connection
// is opened with a connection string ("DSN=...;UID=...;PWD=..."), queries
// take their values as bound "?" parameters, and rows come back as texts.
// Every failure is raised as a Failure carrying the driver's diagnostics,
// with the connection string's password masked.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wcomp837 {

// One fetched row: a text per column, std::nullopt for a null column.
struct DbRow {
  std::vector<std::optional<std::string>> values;
};

struct DbResult {
  std::vector<std::string> columns;
  std::vector<DbRow> rows;
  // Position of a column by name, compared without regard to letter case
  // (some databases fold unquoted names); -1 when there is none.
  int ColumnIndex(const std::string& name) const;
  // The text of a column of a row; "" for a null column or an unknown name.
  std::string Text(std::size_t row, const std::string& column) const;
};

class OdbcConnection {
 public:
  // Opens a connection; raises Failure with the driver's diagnostics.
  OdbcConnection(const std::string& connectionString, int queryTimeoutSeconds);
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  // Runs a query whose "?" markers take the given texts, in order, and
  // fetches every row.
  DbResult Query(const std::string& sql, const std::vector<std::string>& parameters);
  // The character the connected database quotes identifiers with ("\"",
  // "[", "`"); "" when the driver does not say or does not quote.
  std::string IdentifierQuote();

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
  std::string secret_;  // the password, for masking diagnostics
  int timeout_;
};

// The connection string with the value of every PWD= item replaced by "****".
std::string MaskConnectionString(const std::string& connectionString);
// A diagnostic text with the connection string's password masked wherever it
// appears, whether in a PWD= item or on its own.
std::string MaskSecret(const std::string& text, const std::string& secret);
// The value of the PWD= item of a connection string ("" when there is none).
std::string PasswordOf(const std::string& connectionString);

}  // namespace wcomp837
