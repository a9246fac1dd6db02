// Reference data: the database connection, the practice-name and NPI
// overrides and the NPI legacy dates.
#pragma once

#include <cstdint>
#include <string>

#include "host/state.h"

namespace wcomp837 {

// Whether gsConnectionString names a data source ("DSN=" followed by a name
// that is not blank). Without one no connection is attempted: the driver
// manager would fall back to a default data source.
bool HaveDataSourceName(const Ctx& c);
// Opens the database for gsConnectionString: the qualified attempt first,
// then the unqualified one (the CONNECTIONSTRING message).
void SetSchemaAndConnect(Ctx& c);
// One connection attempt with the present qualifier: connect, run the test
// query, set gbDBConnectionIsGood and load the NPI legacy dates.
void OpenInitialDBConnection(Ctx& c);
// Closes the connection (object destruction).
void CloseDatabase(Ctx& c);

void CheckForAlternatePracticeName(Ctx& c, PracticeRec& practice);
bool FetchOriginalPracticeAddress(Ctx& c, PracticeRec& practice);
std::string FetchAlternatePracticeNPIFromDB(Ctx& c, const std::string& practiceCode,
                                            const std::string& providerCode,
                                            const std::string& insuranceCode);

// The practice and insurance record parsers (records/parsers.h has the
// others): the practice's name and address may be overridden, and the
// insurance decides the practice NPI.
std::int16_t ParsePracticeRec(Ctx& c, const std::string& rec, PracticeRec& out);
std::int16_t ParseInsuranceRec(Ctx& c, const std::string& rec, InsuranceRec& out,
                               std::int16_t iSwitch = 0);

// Loads the NPI legacy date table: database rows first, else the settings file.
void FillNPILegacyDateArray(Ctx& c);
// Sets LegacyDatePassed for the last insurance's payer ID and insurance code.
void NPILegacyDate(Ctx& c, const std::string& payerId, const std::string& insuranceCode);

}  // namespace wcomp837
