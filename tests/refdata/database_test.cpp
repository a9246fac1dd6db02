// Connection and lookups against real databases through the ODBC driver
// manager: every scenario runs on SQLite, and on PostgreSQL when a server
// can be started (all PostgreSQL scenarios share one server).
#include <functional>

#include "ref_fixture.h"
#include "test_databases.h"

namespace wcomp837::testing {
namespace {

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
  TestDatabase& db;
};

void QualifierFallback(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO COMPANY VALUES (1, 'A', '', '', '', '', '');"
      "INSERT INTO PRACTICE VALUES ('P1', 1);");
  s.WriteSetting("QBEX_CFG_NPICMS.DAT", "");
  s.Connect();
  EXPECT_TRUE(s.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(s.g.ref.qualifier, "");
  EXPECT_NE(s.g.ref.connection, nullptr);
  // The qualified attempt failed and said so; the retry succeeded quietly.
  const auto messages = s.Messages();
  ASSERT_EQ(messages.size(), 1u) << ::testing::PrintToString(messages);
  EXPECT_EQ(messages[0].rfind(s.g.host.gsDllName +
                                  " had a problem in OpenInitialDBConnection()  Error:-2147467259 ",
                              0),
            0u)
      << messages[0];
  EXPECT_EQ(messages[0].find(kPassword), std::string::npos);
  // Closing drops the connection; lookups then answer nothing.
  CloseDatabase(s.c);
  EXPECT_FALSE(s.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(s.g.ref.connection, nullptr);
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(s.c, "P1", "D1", "I1"), "");
}

// Tables where the qualified names find them: the first attempt succeeds,
// in the driver's quote, and nothing is reported.
void QualifiedTables(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO COMPANY VALUES (1, 'A', '', '', '', '', '');"
      "INSERT INTO PRACTICE VALUES ('P1', 1);"
      "INSERT INTO QBEX_MultiNPI VALUES ('P1','D1','','','1111111111');"
      "INSERT INTO QBEX_NpiLegacy VALUES ('00', '', '2008-05-23');");
  s.db.UseQualifiedSchema();
  s.Connect();
  EXPECT_TRUE(s.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(s.g.ref.qualifier, "\"QEL_TABLES\".");
  EXPECT_TRUE(s.Messages().empty()) << ::testing::PrintToString(s.Messages());
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(s.c, "P1", "D1", "I1"), "1111111111");
  EXPECT_EQ(s.g.ref.NPILegacyDates.size(), 1u);
  EXPECT_TRUE(s.Messages().empty());
}

void AlternateNpiPrecedence(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO QBEX_MultiNPI VALUES"
      " ('P1','D1','','','3333333333'), ('P1','D1','','INS01','2222222222'),"
      " ('P1','D1','WCOMP_P4','','1111111111'), ('P1','D1','WCOMP_P5','INS01','4444444444'),"
      " ('P1','D2','','INS02','5555555555'), ('P2','D1','WCOMP_P4','INS01','6666666666');");
  s.ConnectUnqualified();
  auto npi = [&](const std::string& p, const std::string& d, const std::string& i) {
    return FetchAlternatePracticeNPIFromDB(s.c, p, d, i);
  };
  EXPECT_EQ(npi("P1", "D1", "INS01"), "1111111111");  // this billing form first
  EXPECT_EQ(npi("P1", "D1", "INS09"), "1111111111");
  EXPECT_EQ(npi("P1", "D2", "INS02"), "5555555555");
  EXPECT_EQ(npi("P1", "D2", "INS03"), "");
  EXPECT_EQ(npi("P2", "D1", "INS01"), "6666666666");
  EXPECT_EQ(npi("P2", "D1", "INS02"), "");
  EXPECT_EQ(npi("p1", "D1", "INS01"), "");
  s.db.Exec("DELETE FROM QBEX_MultiNPI WHERE Billing_Form = 'WCOMP_P4';");
  EXPECT_EQ(npi("P1", "D1", "INS01"), "2222222222");  // then this insurance
  EXPECT_EQ(npi("P1", "D1", "INS09"), "3333333333");  // then any
  EXPECT_TRUE(s.Messages().empty());
}

void OriginalPracticeAddress(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO COMPANY VALUES (7, 'Lakeside Ortho', '400 Harbor Blvd', 'Suite 2', 'Portland',"
      " 'or', '97201');"
      "INSERT INTO PRACTICE VALUES ('LAKE', 7);"
      "INSERT INTO QBEX_MultiNPI VALUES ('LAKE','D1','','','1588667638');");
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
  // The fresh connection replaced the shared one and serves later lookups.
  EXPECT_NE(s.g.ref.connection.get(), before);
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(s.c, "LAKE", "D1", "I"), "1588667638");
  // An unknown practice changes nothing.
  PracticeRec other = p;
  other[Practice::sPracticeCode] = "NONE";
  EXPECT_TRUE(FetchOriginalPracticeAddress(s.c, other));
  other[Practice::sPracticeCode] = "LAKE";
  EXPECT_EQ(other, p);
  EXPECT_TRUE(s.Messages().empty());
}

void LegacyDatesFromDatabase(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO QBEX_NpiLegacy VALUES ('00', '', '2008-05-23'), ('03', 'ins01', '2099-12-31');");
  // The settings file is not read when the database has rows.
  s.WriteSetting("QBEX_CFG_NPICMS.DAT", "\"00\",\"\",12/31/2099\n");
  s.ConnectUnqualified();
  ASSERT_EQ(s.g.ref.NPILegacyDates.size(), 2u);
  EXPECT_EQ(s.g.ref.NPILegacyDates[1].sValue, "INS01");
  EXPECT_FALSE(s.Passed("12345", "INS01"));
  EXPECT_TRUE(s.Passed("12345", "INS02"));
  EXPECT_TRUE(s.Messages().empty());
}

void LegacyDatesFallBackToFile(DatabaseScenario& s) {
  s.WriteSetting("QBEX_CFG_NPICMS.DAT", "\"00\",\"\",12/31/2099\n\"03\",\"INS02\",2001-01-01\n");
  s.ConnectUnqualified();
  EXPECT_EQ(s.g.ref.NPILegacyDates.size(), 2u);
  EXPECT_FALSE(s.Passed("12345", "INS01"));
  EXPECT_TRUE(s.Passed("12345", "INS02"));
  EXPECT_TRUE(s.Messages().empty());
}

void NullLegacyDateIsNoDate(DatabaseScenario& s) {
  s.db.Exec("INSERT INTO QBEX_NpiLegacy VALUES ('00', '', '2008-05-23'), ('03', 'X', NULL);");
  s.Connect();
  EXPECT_TRUE(s.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(s.g.ref.NPILegacyDates.size(), 1u);
  const auto messages = s.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], s.g.host.gsDllName + "FillNPILegacyDateArray  Error: 13 Type mismatch");
}

void QuoteInCodes(DatabaseScenario& s) {
  s.db.Exec(
      "INSERT INTO QBEX_MultiNPI VALUES ('O''BRIEN','D''1','','','1234567893'),"
      " ('P1','D1','','','1111111111');"
      "INSERT INTO COMPANY VALUES (1, 'Quote Co', 'A', '', 'B', 'CA', '9');"
      "INSERT INTO PRACTICE VALUES ('O''BRIEN', 1), ('P1', 1);");
  s.ConnectUnqualified();
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(s.c, "O'BRIEN", "D'1", "INS"), "1234567893");
  // A code written to widen the query finds nothing instead.
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(s.c, "P1", "X' OR '1'='1", "INS"), "");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(s.c, "P1' --", "D1", "INS"), "");
  PracticeRec p{};
  p[Practice::sPracticeCode] = "X' OR 'a'='a";
  p[Practice::sName] = "KEEP";
  EXPECT_TRUE(FetchOriginalPracticeAddress(s.c, p));
  EXPECT_EQ(p[Practice::sName], "KEEP");
  p[Practice::sPracticeCode] = "O'BRIEN";
  EXPECT_TRUE(FetchOriginalPracticeAddress(s.c, p));
  EXPECT_EQ(p[Practice::sName], "QUOTE CO");
  EXPECT_TRUE(s.Messages().empty());
}

void QueryFailureIsReported(DatabaseScenario& s) {
  s.ConnectUnqualified();
  s.db.Exec("DROP TABLE QBEX_MultiNPI;");
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(s.c, "P1", "D1", "I1"), "");
  const auto messages = s.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind(
                s.g.host.gsDllName + "FetchAlternatePracticeNPIFromDB   Error:-2147467259 ", 0),
            0u);
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
    {"LegacyDatesFromDatabase", LegacyDatesFromDatabase},
    {"LegacyDatesFallBackToFile", LegacyDatesFallBackToFile},
    {"NullLegacyDateIsNoDate", NullLegacyDateIsNoDate},
    {"QuoteInCodes", QuoteInCodes},
    {"QueryFailureIsReported", QueryFailureIsReported},
};

class Sqlite : public ::testing::TestWithParam<Scenario> {};

TEST_P(Sqlite, Scenario) {
  auto db = MakeSqliteDatabase();
  DatabaseScenario s(*db);
  GetParam().run(s);
}

INSTANTIATE_TEST_SUITE_P(Lookups, Sqlite, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

// One test so that a run of the suite starts the server once.
TEST(Postgres, EveryScenario) {
  std::string why;
  TestDatabase* db = PostgresDatabase(why);
  if (db == nullptr) GTEST_SKIP() << "PostgreSQL not available: " << why;
  for (const Scenario& scenario : kScenarios) {
    SCOPED_TRACE(scenario.name);
    DatabaseScenario s(*db);
    scenario.run(s);
  }
}

using Connection = RefTest;

TEST_F(Connection, NoConnectionStringMeansNoDatabase) {
  SetSchemaAndConnect(c);
  EXPECT_FALSE(g.host.gbDBConnectionIsGood);
  EXPECT_EQ(g.ref.connection, nullptr);
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(c, "P1", "D1", "I1"), "");
  PracticeRec p{};
  p[Practice::sName] = "KEEP";
  EXPECT_TRUE(FetchOriginalPracticeAddress(c, p));
  EXPECT_EQ(p[Practice::sName], "KEEP");
  EXPECT_TRUE(Messages().empty());
}

void ExpectFailedConnection(RefHarness& h, const std::string& dsn, const std::string& diagnostic) {
  h.WriteSetting("QBEX_CFG_NPICMS.DAT", "\"00\",\"\",2008-05-23\n");
  h.g.host.gsConnectionString = ConnectionStringFor(dsn);
  SetSchemaAndConnect(h.c);
  EXPECT_FALSE(h.g.host.gbDBConnectionIsGood);
  EXPECT_EQ(h.g.ref.connection, nullptr);
  const auto messages = h.Messages();
  ASSERT_EQ(messages.size(), 2u);  // the qualified attempt and the retry
  for (const auto& text : messages) {
    EXPECT_EQ(
        text.rfind(h.g.host.gsDllName + " had a problem in OpenInitialDBConnection()  Error:", 0),
        0u);
    EXPECT_NE(text.find(diagnostic), std::string::npos) << text;
    EXPECT_EQ(text.find(kPassword), std::string::npos) << text;
  }
  // Without a connection the legacy dates come from the settings file.
  EXPECT_TRUE(h.Passed("1", "2"));
  EXPECT_EQ(FetchAlternatePracticeNPIFromDB(h.c, "P1", "D1", "I1"), "");
  EXPECT_EQ(h.Messages().size(), 2u);
}

TEST(FailedConnection, IsReportedAndTheBatchGoesOn) {
  const std::string missingFile = MissingFileDsn();  // also sets up the private configuration
  {
    SCOPED_TRACE("unknown data source");
    RefHarness h;
    ExpectFailedConnection(h, "wc_no_such_dsn", "Data source name not found");
  }
  {
    SCOPED_TRACE("database file missing");
    RefHarness h;
    ExpectFailedConnection(h, missingFile, "SQLSTATE");
  }
}

}  // namespace
}  // namespace wcomp837::testing
