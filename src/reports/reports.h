// Report dispatch: the report list, printer choice and printing a report.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/state.h"

namespace wcomp837 {

std::string GetReportList();
// Prints report nr (0 nothing; 1 summary; 2 secondaries missing adjustment codes).
std::int16_t Do_Elec_Report(Ctx& c, std::int16_t nr);
// "PDF" plus the CUPS destinations.
std::vector<std::string> InstalledPrinters();
// Chooses the printer whose name equals the text exactly; no match changes nothing.
void SelectPrinter(Ctx& c, const std::string& name);

}  // namespace wcomp837
