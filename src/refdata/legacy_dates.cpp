// NPI legacy dates: the table of stop dates after which payers no longer take
// their own provider numbers, and the decision for the last insurance.
#include <fmt/format.h>

#include <optional>

#include "platform/failure.h"
#include "platform/odbc.h"
#include "records/numeric.h"
#include "records/text.h"
#include "refdata/lookups.h"
#include "refdata/settings_file.h"
#include "refdata/sql_texts.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

constexpr const char* kLegacyDateFile = "QBEX_CFG_NPICMS.DAT";

// Kinds of match, in the order a set date wins.
enum Match { kInsuranceCode, kPayorOrg, kBillForm, kStandard, kMatchCount };

struct MatchText {
  const char* type;
  const char* logName;
  const char* bailing;
};
constexpr MatchText kMatchTexts[kMatchCount] = {
    {"03", " >> NPI DATES   g_NPILegacy_InsuranceIHCodeDate: ",
     ">> NPILegacyDate Bailing on InsuranceIHCodeDate  datepassed = "},
    {"02", " >> NPI DATES   g_NPILegacy_PayorOrgDate: ",
     ">> NPILegacyDate Bailing on PayorOrgDate  datepassed = "},
    {"01", " >> NPI DATES   g_NPILegacy_BillFormDate: ",
     ">> NPILegacyDate Bailing on BillFormDate  datepassed = "},
    {"00", " >> NPI DATES   g_NPILegacy_StandardDate: ",
     ">> NPILegacyDate Bailing on StandardDate  datepassed = "},
};

DateTime DateFromText(const std::string& text) {
  std::optional<DateTime> date = ParseDate(text);
  if (!date) Raise(failure::kTypeMismatch);
  return *date;
}

std::string DateText(const std::optional<DateTime>& date) {
  return date ? fmt::format("{}/{}/{}", date->month, date->day, date->year) : std::string();
}

// Whether an entry of the table holds for this payer and insurance.
bool EntryMatches(const HostState& h, Match kind, const std::string& value,
                  const std::string& payerId, const std::string& insuranceCode) {
  switch (kind) {
    case kStandard:
      return true;
    case kBillForm:
      return value == h.gsFormatID;
    case kPayorOrg:
      return payerId.compare(0, value.size(), value) == 0;
    case kInsuranceCode:
      return value == insuranceCode;
    default:
      return false;
  }
}

// Database rows; false when the query gave none.
bool LoadFromDatabase(const RefCtx& c) {
  DbResult result = c.ref.connection->Query(sql::NPILegacyDates(c.ref.qualifier), {});
  for (const DbRow& row : result.rows) {
    auto text = [&row](std::size_t i) {
      return i < row.values.size() ? row.values[i].value_or("") : std::string();
    };
    c.ref.NPILegacyDates.push_back(
        NPILegacyEntry{UpperCase(text(0)), UpperCase(text(1)), DateFromText(text(2))});
  }
  return !result.rows.empty();
}

void LoadFromFile(const std::string& path, std::vector<NPILegacyEntry>& table) {
  SettingsFileReader file(path);
  std::vector<std::string> record;
  while (file.Next(record, 3)) {
    table.push_back(NPILegacyEntry{record[0], UpperCase(record[1]), DateFromText(record[2])});
  }
}

}  // namespace

void FillNPILegacyDateArray(const RefCtx& c) {
  auto& table = c.ref.NPILegacyDates;
  table.clear();
  try {
    std::string source;
    if (c.host.gbDBConnectionIsGood && c.ref.connection && LoadFromDatabase(c)) {
      source = "** Opening NPILegacy From DB";
    } else {
      const std::string path = JoinPath(SettingsFolder(), kLegacyDateFile);
      source = "** Opening NPIlegacy_File: " + path;
      LoadFromFile(path, table);
    }
    LogLine(c.host, source);
    LogLine(c.host, "  RecordCount = " + SignedText(static_cast<std::int64_t>(table.size())));
  } catch (...) {
    AddFailureMessage(c.host, "FillNPILegacyDateArray  Error:", std::current_exception());
  }
}

void NPILegacyDate(const RefCtx& c, const std::string& payerId, const std::string& insuranceCode) {
  RefState& ref = c.ref;
  ref.LegacyDatePassed = false;
  try {
    if (!ref.legacy_loaded) {
      // No connection loaded the table: the settings file serves, once.
      ref.legacy_loaded = true;
      FillNPILegacyDateArray(c);
    }
    std::optional<DateTime> dates[kMatchCount];
    // An entry without a type matches nothing; it does not hide the entries after it.
    for (const NPILegacyEntry& entry : ref.NPILegacyDates) {
      for (int kind = 0; kind < kMatchCount; ++kind) {
        if (entry.sType == kMatchTexts[kind].type &&
            EntryMatches(c.host, static_cast<Match>(kind), entry.sValue, payerId, insuranceCode)) {
          dates[kind] = entry.dtDate;
        }
      }
    }
    LogLine(c.host, {"PayorOrg,InsIHCode,StopDt: ", payerId, ",", insuranceCode});
    for (int kind = 0; kind < kMatchCount; ++kind) {
      LogLine(c.host, {kMatchTexts[kind].logName, DateText(dates[kind])});
    }
    for (int kind = 0; kind < kMatchCount; ++kind) {
      if (!dates[kind]) continue;
      ref.LegacyDatePassed = DateKey(*dates[kind]) <= DateKey(Now());
      LogLine(c.host, {kMatchTexts[kind].bailing, BoolText(ref.LegacyDatePassed)});
      break;
    }
  } catch (...) {
    AddFailureMessage(c.host,
                      " had a problem in NPILegacyDate()  Error:", std::current_exception());
  }
}

}  // namespace wcomp837
