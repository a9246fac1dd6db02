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

bool HaveDataSourceName(const Ctx& c) {
  const std::string& text = c.g.host.gsConnectionString;
  constexpr std::string_view kKey = "DSN=";
  if (!text.starts_with(kKey)) return !text.empty();
  const std::size_t end = std::min(text.find(';'), text.size());
  return !Trim(std::string_view(text).substr(kKey.size(), end - kKey.size())).empty();
}

void SetSchemaAndConnect(Ctx& c) {
  c.g.host.gbDBConnectionIsGood = false;
  c.g.ref.connection.reset();
  c.g.ref.qualifier = sql::kBracketQualifier;
  if (!HaveDataSourceName(c)) return;
  OpenInitialDBConnection(c);
  if (!c.g.host.gbDBConnectionIsGood) {
    // The tables are not owned by the qualifier's schema: address them plainly.
    c.g.ref.qualifier.clear();
    OpenInitialDBConnection(c);
  }
}

void OpenInitialDBConnection(Ctx& c) {
  if (!HaveDataSourceName(c)) return;
  try {
    auto connection =
        std::make_shared<OdbcConnection>(c.g.host.gsConnectionString, sql::kQueryTimeoutSeconds);
    if (!c.g.ref.qualifier.empty()) {
      c.g.ref.qualifier = sql::QualifierFor(connection->IdentifierQuote());
    }
    connection->Query(sql::PracticeCodes(c.g.ref.qualifier), {});
    c.g.ref.connection = std::move(connection);
    c.g.host.gbDBConnectionIsGood = true;
  } catch (...) {
    AddFailureMessage(
        c.g.host, " had a problem in OpenInitialDBConnection()  Error:", std::current_exception());
    return;
  }
  c.g.ref.legacy_loaded = true;
  FillNPILegacyDateArray(c);
}

void CloseDatabase(Ctx& c) {
  c.g.ref.connection.reset();
  c.g.host.gbDBConnectionIsGood = false;
}

}  // namespace wcomp837
