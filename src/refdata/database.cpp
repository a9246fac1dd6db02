// The database connection: the qualified attempt, the unqualified retry,
// the test query and closing.
#include <algorithm>
#include <string_view>

#include "platform/odbc.h"
#include "records/text.h"
#include "refdata/lookups.h"
#include "refdata/sql_texts.h"
#include "state/messages.h"

namespace wcomp837 {

bool HaveDataSourceName(const RefCtx& c) {
  const std::string& text = c.host.gsConnectionString;
  constexpr std::string_view kKey = "DSN=";
  if (!text.starts_with(kKey)) return !text.empty();
  const std::size_t end = std::min(text.find(';'), text.size());
  return !Trim(std::string_view(text).substr(kKey.size(), end - kKey.size())).empty();
}

void SetSchemaAndConnect(const RefCtx& c) {
  c.host.gbDBConnectionIsGood = false;
  c.ref.connection.reset();
  c.ref.qualifier = sql::kBracketQualifier;
  if (!HaveDataSourceName(c)) return;
  OpenInitialDBConnection(c);
  if (!c.host.gbDBConnectionIsGood) {
    // The tables are not owned by the qualifier's schema: address them plainly.
    c.ref.qualifier.clear();
    OpenInitialDBConnection(c);
  }
}

void OpenInitialDBConnection(const RefCtx& c) {
  if (!HaveDataSourceName(c)) return;
  try {
    auto connection =
        std::make_shared<OdbcConnection>(c.host.gsConnectionString, sql::kQueryTimeoutSeconds);
    if (!c.ref.qualifier.empty()) {
      c.ref.qualifier = sql::QualifierFor(connection->IdentifierQuote());
    }
    connection->Query(sql::PracticeCodes(c.ref.qualifier), {});
    c.ref.connection = std::move(connection);
    c.host.gbDBConnectionIsGood = true;
  } catch (...) {
    AddFailureMessage(
        c.host, " had a problem in OpenInitialDBConnection()  Error:", std::current_exception());
    return;
  }
  c.ref.legacy_loaded = true;
  FillNPILegacyDateArray(c);
}

void CloseDatabase(const RefCtx& c) {
  c.ref.connection.reset();
  c.host.gbDBConnectionIsGood = false;
}

}  // namespace wcomp837
