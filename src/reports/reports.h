// Report dispatch: the report list, printer choice and printing a report.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reports/print_state.h"

namespace wcomp837 {

std::string GetReportList();
// Prints report nr (0 nothing; 1 summary; 2 secondaries missing adjustment codes).
std::int16_t Do_Elec_Report(const PrintCtx& c, std::int16_t nr);
// "PDF" plus the CUPS destinations.
std::vector<std::string> InstalledPrinters();
// Chooses the printer whose name equals the text exactly; no match changes nothing.
void SelectPrinter(const PrintCtx& c, const std::string& name);

}  // namespace wcomp837
