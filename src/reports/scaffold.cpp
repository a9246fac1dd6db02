// Temporary placeholders while the reports are being built; each
// definition is removed when its real implementation lands.
#include "reports/nac_file.h"
#include "reports/reports.h"

namespace wcomp837 {
std::string NACFileName(const HostState& h) { return h.gsASCIIFile + "_NAC.Dat"; }
std::int16_t OpenNACFileOut(Ctx&) { return 0; }
std::int16_t WriteNACPracticeHeader(Ctx&) { return 0; }
std::int16_t WriteNACRecord(Ctx&, const std::string&) { return 0; }
std::int16_t WriteNACClosingRemark(Ctx&) { return 0; }
std::int16_t CloseNACFile(Ctx&) { return 0; }
std::string GetReportList() { return "Summary//Secondaries Missing Adjustment Reason Codes"; }
std::int16_t Do_Elec_Report(Ctx&, std::int16_t) { return 0; }
std::vector<std::string> InstalledPrinters() { return {"PDF"}; }
void SelectPrinter(Ctx&, const std::string&) {}
}  // namespace wcomp837
