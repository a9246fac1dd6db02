// Temporary placeholders while reference-data access is being built; each
// definition is removed when its real implementation lands.
#include "refdata/lookups.h"

namespace wcomp837 {
void SetSchemaAndConnect(Ctx&) {}
void CloseDatabase(Ctx&) {}
void CheckForAlternatePracticeName(Ctx&, PracticeRec&) {}
bool FetchOriginalPracticeAddress(Ctx&, PracticeRec&) { return false; }
std::string FetchAlternatePracticeNPIFromDB(Ctx&, const std::string&, const std::string&, const std::string&) { return ""; }
void NPILegacyDate(Ctx& c, const std::string&, const std::string&) { c.g.ref.LegacyDatePassed = false; }
}  // namespace wcomp837
