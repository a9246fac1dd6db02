#include "platform/odbc.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>

#include "platform/failure.h"

namespace wcomp837 {
namespace {

constexpr const char* kMask = "****";
constexpr int kLoginTimeoutSeconds = 15;

bool Succeeded(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// Finds the start of the next "PWD=" item (letter case ignored) at or after pos.
std::size_t FindPasswordItem(const std::string& lower, std::size_t pos) {
  while ((pos = lower.find("pwd", pos)) != std::string::npos) {
    const bool itemStart = pos == 0 || lower[pos - 1] == ';' || lower[pos - 1] == ' ' ||
                           lower[pos - 1] == '\'' || lower[pos - 1] == '"';
    std::size_t eq = pos + 3;
    while (eq < lower.size() && lower[eq] == ' ') ++eq;
    if (itemStart && eq < lower.size() && lower[eq] == '=') return pos;
    pos += 3;
  }
  return std::string::npos;
}

// The end of a connection-string value starting at pos: a braced value runs to
// its closing brace, any other to the next ";". Inside a diagnostic text an
// echoed value also ends at a blank or a quote.
std::size_t ValueEnd(const std::string& text, std::size_t pos, bool inDiagnostic) {
  if (pos < text.size() && text[pos] == '{') {
    std::size_t close = text.find('}', pos);
    return close == std::string::npos ? text.size() : close + 1;
  }
  std::size_t end = text.find_first_of(inDiagnostic ? "; \t'\"" : ";", pos);
  return end == std::string::npos ? text.size() : end;
}

std::string MaskPasswordItems(const std::string& text, bool inDiagnostic) {
  std::string out = text;
  std::size_t pos = 0;
  for (;;) {
    std::size_t item = FindPasswordItem(Lower(out), pos);
    if (item == std::string::npos) break;
    std::size_t start = out.find('=', item) + 1;
    std::size_t end = ValueEnd(out, start, inDiagnostic);
    out.replace(start, end - start, kMask);
    pos = start + std::char_traits<char>::length(kMask);
  }
  return out;
}

// Collects the diagnostic records of a handle into one text.
std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::string all;
  for (SQLSMALLINT i = 1; i <= 10; ++i) {
    SQLCHAR state[6] = {0};
    SQLINTEGER native = 0;
    SQLCHAR text[1024] = {0};
    SQLSMALLINT len = 0;
    SQLRETURN rc = SQLGetDiagRec(type, handle, i, state, &native, text, sizeof(text), &len);
    if (!Succeeded(rc)) break;
    if (!all.empty()) all += " | ";
    all += reinterpret_cast<const char*>(text);
    all += " (SQLSTATE ";
    all += reinterpret_cast<const char*>(state);
    all += ", native error " + std::to_string(native) + ")";
  }
  return all.empty() ? std::string("Database access failed") : all;
}

[[noreturn]] void RaiseDiagnostics(SQLSMALLINT type, SQLHANDLE handle, const std::string& secret) {
  Raise(failure::kDatabase, MaskSecret(Diagnostics(type, handle), secret));
}

// A statement handle freed when the query ends.
class Statement {
 public:
  Statement(SQLHDBC dbc, const std::string& secret) {
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt_))) {
      RaiseDiagnostics(SQL_HANDLE_DBC, dbc, secret);
    }
  }
  ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  SQLHSTMT get() const { return stmt_; }

 private:
  SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

}  // namespace

struct OdbcConnection::Handles {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  bool connected = false;
  ~Handles() {
    if (connected) SQLDisconnect(dbc);
    if (dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
};

int DbResult::ColumnIndex(const std::string& name) const {
  const std::string wanted = Lower(name);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (Lower(columns[i]) == wanted) return static_cast<int>(i);
  }
  return -1;
}

std::string DbResult::Text(std::size_t row, const std::string& column) const {
  const int col = ColumnIndex(column);
  if (col < 0 || row >= rows.size()) return "";
  const auto& value = rows[row].values[static_cast<std::size_t>(col)];
  return value ? *value : std::string();
}

OdbcConnection::OdbcConnection(const std::string& connectionString, int queryTimeoutSeconds)
    : handles_(std::make_unique<Handles>()),
      secret_(PasswordOf(connectionString)),
      timeout_(queryTimeoutSeconds) {
  Handles& h = *handles_;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h.env))) {
    Raise(failure::kDatabase, "The ODBC environment could not be created");
  }
  if (!Succeeded(SQLSetEnvAttr(h.env, SQL_ATTR_ODBC_VERSION,
                               reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
    RaiseDiagnostics(SQL_HANDLE_ENV, h.env, secret_);
  }
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, h.env, &h.dbc))) {
    RaiseDiagnostics(SQL_HANDLE_ENV, h.env, secret_);
  }
  // Not every driver supports a login timeout; its absence is no failure.
  SQLSetConnectAttr(h.dbc, SQL_ATTR_LOGIN_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(kLoginTimeoutSeconds)), 0);
  std::string text = connectionString;
  SQLRETURN rc =
      SQLDriverConnect(h.dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                       static_cast<SQLSMALLINT>(std::min<std::size_t>(text.size(), 32767)), nullptr,
                       0, nullptr, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(rc)) RaiseDiagnostics(SQL_HANDLE_DBC, h.dbc, secret_);
  h.connected = true;
}

OdbcConnection::~OdbcConnection() = default;

std::string OdbcConnection::IdentifierQuote() {
  SQLCHAR quote[8] = {0};
  SQLSMALLINT length = 0;
  if (!Succeeded(
          SQLGetInfo(handles_->dbc, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof(quote), &length))) {
    return "";
  }
  std::string text(reinterpret_cast<const char*>(quote));
  // A blank means the database does not quote identifiers.
  return text == " " ? std::string() : text;
}

DbResult OdbcConnection::Query(const std::string& sql, const std::vector<std::string>& parameters) {
  Statement stmt(handles_->dbc, secret_);
  SQLHSTMT s = stmt.get();
  // Drivers without a query timeout ignore it.
  SQLSetStmtAttr(s, SQL_ATTR_QUERY_TIMEOUT,
                 reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeout_)), 0);
  std::string sqlText = sql;
  if (!Succeeded(SQLPrepare(s, reinterpret_cast<SQLCHAR*>(sqlText.data()),
                            static_cast<SQLINTEGER>(sqlText.size())))) {
    RaiseDiagnostics(SQL_HANDLE_STMT, s, secret_);
  }
  // The bound buffers must stay in place until the statement has run.
  std::vector<std::string> values(parameters);
  std::vector<SQLLEN> lengths(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    lengths[i] = static_cast<SQLLEN>(values[i].size());
    const SQLULEN columnSize = std::max<SQLULEN>(values[i].size(), 1);
    SQLRETURN rc =
        SQLBindParameter(s, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR,
                         SQL_VARCHAR, columnSize, 0, values[i].data(), lengths[i], &lengths[i]);
    if (!Succeeded(rc)) RaiseDiagnostics(SQL_HANDLE_STMT, s, secret_);
  }
  SQLRETURN rc = SQLExecute(s);
  if (!Succeeded(rc) && rc != SQL_NO_DATA) RaiseDiagnostics(SQL_HANDLE_STMT, s, secret_);

  DbResult result;
  SQLSMALLINT columnCount = 0;
  if (!Succeeded(SQLNumResultCols(s, &columnCount))) RaiseDiagnostics(SQL_HANDLE_STMT, s, secret_);
  for (SQLUSMALLINT col = 1; col <= static_cast<SQLUSMALLINT>(columnCount); ++col) {
    SQLCHAR name[256] = {0};
    SQLSMALLINT nameLen = 0, dataType = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    if (!Succeeded(SQLDescribeCol(s, col, name, sizeof(name), &nameLen, &dataType, &size, &digits,
                                  &nullable))) {
      RaiseDiagnostics(SQL_HANDLE_STMT, s, secret_);
    }
    result.columns.emplace_back(reinterpret_cast<const char*>(name));
  }
  while (columnCount > 0) {
    rc = SQLFetch(s);
    if (rc == SQL_NO_DATA) break;
    if (!Succeeded(rc)) RaiseDiagnostics(SQL_HANDLE_STMT, s, secret_);
    DbRow row;
    for (SQLUSMALLINT col = 1; col <= static_cast<SQLUSMALLINT>(columnCount); ++col) {
      std::optional<std::string> value;
      char buffer[4096];
      for (;;) {
        SQLLEN indicator = 0;
        rc = SQLGetData(s, col, SQL_C_CHAR, buffer, sizeof(buffer), &indicator);
        if (rc == SQL_NO_DATA) break;
        if (!Succeeded(rc)) RaiseDiagnostics(SQL_HANDLE_STMT, s, secret_);
        if (indicator == SQL_NULL_DATA) break;
        if (!value) value.emplace();
        const SQLLEN room = static_cast<SQLLEN>(sizeof(buffer) - 1);
        const SQLLEN got = (indicator == SQL_NO_TOTAL || indicator > room) ? room : indicator;
        value->append(buffer, static_cast<std::size_t>(std::max<SQLLEN>(got, 0)));
        if (rc == SQL_SUCCESS) break;
      }
      row.values.push_back(std::move(value));
    }
    result.rows.push_back(std::move(row));
  }
  return result;
}

std::string PasswordOf(const std::string& connectionString) {
  const std::string lower = Lower(connectionString);
  std::size_t item = FindPasswordItem(lower, 0);
  if (item == std::string::npos) return "";
  std::size_t start = connectionString.find('=', item) + 1;
  std::size_t end = ValueEnd(connectionString, start, false);
  std::string value = connectionString.substr(start, end - start);
  if (value.size() >= 2 && value.front() == '{' && value.back() == '}') {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::string MaskConnectionString(const std::string& connectionString) {
  return MaskPasswordItems(connectionString, false);
}

std::string MaskSecret(const std::string& text, const std::string& secret) {
  std::string out = text;
  if (!secret.empty()) {
    std::size_t pos = 0;
    while ((pos = out.find(secret, pos)) != std::string::npos) {
      out.replace(pos, secret.size(), kMask);
      pos += std::char_traits<char>::length(kMask);
    }
  }
  return MaskPasswordItems(out, true);
}

}  // namespace wcomp837
