// Reference-data state: the database connection, the table qualifier and
// the NPI legacy date table.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace wcomp837 {

class DbConnection;  // refdata/database.h

struct NPILegacyEntry {
  std::string sType;
  std::string sValue;
  DateTime dtDate;
};

struct RefState {
  std::shared_ptr<DbConnection> connection;
  std::string qualifier;  // "[QEL_TABLES]." or ""
  std::vector<NPILegacyEntry> NPILegacyDates;
  bool legacy_loaded = false;
  bool LegacyDatePassed = false;
};

}  // namespace wcomp837
