// The database connection: the qualified attempt, the unqualified retry,
// the test query and closing.
#include "platform/odbc.h"
#include "refdata/lookups.h"
#include "refdata/sql_texts.h"
#include "state/messages.h"

namespace wcomp837 {

void SetSchemaAndConnect(Ctx& c) {
  c.g.host.gbDBConnectionIsGood = false;
  c.g.ref.connection.reset();
  c.g.ref.qualifier = sql::kBracketQualifier;
  if (c.g.host.gsConnectionString.empty()) return;
  OpenInitialDBConnection(c);
  if (!c.g.host.gbDBConnectionIsGood) {
    // The tables are not owned by the qualifier's schema: address them plainly.
    c.g.ref.qualifier.clear();
    OpenInitialDBConnection(c);
  }
}

void OpenInitialDBConnection(Ctx& c) {
  if (c.g.host.gsConnectionString.empty()) return;
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
