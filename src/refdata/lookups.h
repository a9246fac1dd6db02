// Reference data: the database connection, the practice-name and NPI
// overrides and the NPI legacy dates.
#pragma once

#include <cstdint>
#include <string>

#include "records/records.h"
#include "refdata/ref_state.h"

namespace wcomp837 {

// Whether gsConnectionString names a data source ("DSN=" followed by a name
// that is not blank). Without one no connection is attempted: the driver
// manager would fall back to a default data source.
bool HaveDataSourceName(const RefCtx& c);
// Opens the database for gsConnectionString: the qualified attempt first,
// then the unqualified one (the CONNECTIONSTRING message).
void SetSchemaAndConnect(const RefCtx& c);
// One connection attempt with the present qualifier: connect, run the test
// query, set gbDBConnectionIsGood and load the NPI legacy dates.
void OpenInitialDBConnection(const RefCtx& c);
// Closes the connection (object destruction).
void CloseDatabase(const RefCtx& c);

void CheckForAlternatePracticeName(const RefCtx& c, PracticeRec& practice);
bool FetchOriginalPracticeAddress(const RefCtx& c, PracticeRec& practice);
std::string FetchAlternatePracticeNPIFromDB(const RefCtx& c, const std::string& practiceCode,
                                            const std::string& providerCode,
                                            const std::string& insuranceCode);

// The practice and insurance record parsers (records/parsers.h has the
// others): the practice's name and address may be overridden, and the
// insurance decides the practice NPI.
std::int16_t ParsePracticeRec(const RefCtx& c, const std::string& rec, PracticeRec& out);
std::int16_t ParseInsuranceRec(const RefCtx& c, const std::string& rec, InsuranceRec& out,
                               std::int16_t iSwitch = 0);

// Loads the NPI legacy date table: database rows first, else the settings file.
void FillNPILegacyDateArray(const RefCtx& c);
// Sets LegacyDatePassed for the last insurance's payer ID and insurance code.
void NPILegacyDate(const RefCtx& c, const std::string& payerId, const std::string& insuranceCode);

}  // namespace wcomp837
