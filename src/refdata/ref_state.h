// Reference-data state: the database connection, the table qualifier and
// the NPI legacy date table.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "records/record_state.h"
#include "refdata/settings_file.h"
#include "state/host_state.h"

namespace wcomp837 {

class OdbcConnection;  // platform/odbc.h

struct NPILegacyEntry {
  std::string sType;
  std::string sValue;
  DateTime dtDate;
};

struct RefState {
  std::shared_ptr<OdbcConnection> connection;
  std::string qualifier;  // "[QEL_TABLES]." in the database's quote, or ""
  std::vector<NPILegacyEntry> NPILegacyDates;
  // The legacy date table is loaded once per object: at a good connection,
  // else from the settings file the first time a lookup needs it.
  bool legacy_loaded = false;
  bool LegacyDatePassed = false;
  // The alternate-name settings file is read at every practice record:
  // its path is found once, and its reading reuses these.
  std::string alternateNamePath;
  SettingsBuffers settingsBuffers;
  std::vector<std::string> settingsValues;
};

// What the reference-data routines work on: the records are those of the
// practice and insurance parsers.
struct RefCtx {
  HostState& host;
  RefState& ref;
  RecordState& records;
};

}  // namespace wcomp837
