// The queries against the host's database. Table names take the schema
// qualifier; every value from the host is a "?" parameter.
#pragma once

#include <string>

#include "records/text.h"

namespace wcomp837::sql {

inline constexpr int kQueryTimeoutSeconds = 120;

// The schema qualifier of the first connection attempt, as the host's own
// database (brackets quote identifiers there) has always been addressed.
inline constexpr const char* kBracketQualifier = "[QEL_TABLES].";

// The schema qualifier in the connected database's identifier quote, so the
// qualified attempt can succeed wherever the schema exists: "[QEL_TABLES]."
// where brackets quote, "\"QEL_TABLES\"." where double quotes do, the bare
// name where the database does not quote identifiers.
inline std::string QualifierFor(const std::string& quote) {
  if (quote == "[") return kBracketQualifier;
  if (quote.empty()) return "QEL_TABLES.";
  return quote + "QEL_TABLES" + quote + ".";
}

// The connection test: every practice code.
inline std::string PracticeCodes(const std::string& qualifier) {
  return "SELECT IH_CODE FROM " + Trim(qualifier) + "PRACTICE";
}

// Parameter: the practice code.
inline std::string OriginalPracticeAddress(const std::string& q) {
  return "SELECT Name, Address_Line_1, Address_Line_2, City, State, Zip_Code FROM " + q +
         "PRACTICE p Join " + q + "COMPANY c ON c.Company_ID_Number = p.Company_ID_Number" +
         " WHERE p.IH_Code = ?";
}

// Parameters: practice code, provider code, billing form, insurance code.
// The descending order puts rows for this form and this insurance before the
// rows that hold for any form or any insurance.
inline std::string AlternatePracticeNPI(const std::string& q) {
  return "SELECT * From " + q + "QBEX_MultiNPI " +
         " WHERE Practice_IH_Code = ? "
         "AND Provider_IH_Code = ? "
         "AND ( Billing_Form = ? OR Billing_Form = '') "
         "AND ( Insurance_IH_Code = ? OR Insurance_IH_Code = '') "
         "ORDER BY Practice_IH_Code, Provider_IH_Code, Billing_Form DESC, Insurance_IH_Code DESC";
}
inline constexpr const char* kAlternateNPIColumn = "Alternate_NPI";

inline std::string NPILegacyDates(const std::string& qualifier) {
  return "SELECT NPILEG_Type, NPILEG_Value, NPILEG_Date FROM " + Trim(qualifier) +
         "QBEX_NpiLegacy Order by NPILEG_Type, NPILEG_Value";
}

}  // namespace wcomp837::sql
