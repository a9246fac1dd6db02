// The practice-name and NPI overrides: the alternate-name settings file, the
// practice's name and address kept in the database, and the alternate
// billing NPI per practice, provider, billing form and insurance.
#include "platform/failure.h"
#include "platform/odbc.h"
#include "records/text.h"
#include "refdata/lookups.h"
#include "refdata/settings_file.h"
#include "refdata/sql_texts.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

constexpr const char* kAlternateNameFile = "QBEX_ALT_PRACTICENAME.DAT";

// The members the database values replace, in the order of the query's
// columns, and where each old value is kept.
struct AddressMember {
  std::size_t member;
  std::size_t original;
};
constexpr AddressMember kAddressMembers[] = {
    {Practice::sName, Practice::sOrigName},         {Practice::sAddress1, Practice::sOrigAddress1},
    {Practice::sAddress2, Practice::sOrigAddress2}, {Practice::sCity, Practice::sOrigCity},
    {Practice::sState, Practice::sOrigState},       {Practice::sZip, Practice::sOrigZip},
};

}  // namespace

void CheckForAlternatePracticeName(const RefCtx& c, PracticeRec& practice) {
  try {
    RefState& ref = c.ref;
    if (ref.alternateNamePath.empty()) {
      ref.alternateNamePath = JoinPath(SettingsFolder(), kAlternateNameFile);
    }
    SettingsFileReader file(ref.alternateNamePath, ref.settingsBuffers);
    std::vector<std::string>& record = ref.settingsValues;
    // Only the name record is taken; address records that may follow it
    // serve other formats.
    while (file.Next(record, 2)) {
      if (record[0] != practice[Practice::sPracticeCode]) continue;
      // A line without a value is no name: the practice keeps its own.
      if (TrimView(record[1]).empty()) {
        LogLine(c.host, "CheckForAlternatePracticeName: skipped the line of " + record[0] +
                            " without a name");
        continue;
      }
      practice[Practice::sName] = record[1];
      break;
    }
  } catch (...) {
    const Failure f = CurrentFailure(std::current_exception());
    if (f.number == failure::kTypeMismatch) {
      AddToMessageArray(c.host, kMsgError,
                        c.host.gsDllName +
                            " had a problem in CheckForAlternatePracticeName  Error 13: Type "
                            "Mismatch\n");
    } else {
      AddFailureMessage(c.host, " had a problem in CheckForAlternatePracticeName  Error:", f);
    }
  }
}

bool FetchOriginalPracticeAddress(const RefCtx& c, PracticeRec& practice) {
  if (!HaveDataSourceName(c)) return true;
  try {
    // A fresh connection replaces the shared one once it is open.
    auto connection =
        std::make_shared<OdbcConnection>(c.host.gsConnectionString, sql::kQueryTimeoutSeconds);
    c.ref.connection = connection;
    DbResult result = connection->Query(sql::OriginalPracticeAddress(c.ref.qualifier),
                                        {practice[Practice::sPracticeCode]});
    if (result.rows.empty()) return true;
    const auto& row = result.rows.front().values;
    for (std::size_t i = 0; i < std::size(kAddressMembers); ++i) {
      practice[kAddressMembers[i].original] = practice[kAddressMembers[i].member];
    }
    practice[Practice::sOrigCountry] = practice[Practice::sCountry];
    for (std::size_t i = 0; i < std::size(kAddressMembers) && i < row.size(); ++i) {
      practice[kAddressMembers[i].member] = UpperCase(row[i].value_or(""));
    }
    return true;
  } catch (...) {
    AddFailureMessage(c.host, "FetchOriginalPracticeAddress   Error:", std::current_exception());
    return false;
  }
}

std::string FetchAlternatePracticeNPIFromDB(const RefCtx& c, const std::string& practiceCode,
                                            const std::string& providerCode,
                                            const std::string& insuranceCode) {
  if (!c.host.gbDBConnectionIsGood || !c.ref.connection) return "";
  try {
    DbResult result =
        c.ref.connection->Query(sql::AlternatePracticeNPI(c.ref.qualifier),
                                {practiceCode, providerCode, c.host.gsFormatID, insuranceCode});
    if (result.rows.empty()) return "";
    if (result.ColumnIndex(sql::kAlternateNPIColumn) < 0) {
      Raise(failure::kDatabase, std::string("The column ") + sql::kAlternateNPIColumn +
                                    " is missing from QBEX_MultiNPI");
    }
    return result.Text(0, sql::kAlternateNPIColumn);
  } catch (...) {
    AddFailureMessage(c.host, "FetchAlternatePracticeNPIFromDB   Error:", std::current_exception());
    return "";
  }
}

}  // namespace wcomp837
