#include "reports/reports.h"

#include <algorithm>

#include "platform/printing.h"
#include "reports/nac_report.h"
#include "reports/print_routines.h"
#include "reports/summary_report.h"
#include "state/messages.h"

namespace wcomp837 {
namespace {

using ReportRoutine = std::int16_t (*)(const PrintCtx&, const std::string&, const std::string&);

struct ReportEntry {
  std::int16_t nr;
  ReportRoutine routine;
  const char* title;
};

const ReportEntry kReports[] = {
    {1, Summary_Report_It, "Workers COMP Prof.837 (ANSI 4010 A1) Summary Report"},
    {2, NAC_Report, "Workers COMP Prof.837 (ANSI 4010 A1)"},
};

}  // namespace

std::string GetReportList() {
  return "Summary//Secondaries Missing Adjustment Reason Codes";
}

std::int16_t Do_Elec_Report(const PrintCtx& c, std::int16_t nr) {
  try {
    c.host.giReportNr = nr;
    if (nr == 0) return 0;
    for (const auto& r : kReports) {
      if (r.nr == nr) {
        std::int32_t before = MessageCount(c.host);
        std::int16_t result = r.routine(c, c.host.gsFormatID, r.title);
        // A line that failed inside a report leaves its error message behind.
        return result != 0 || MessageCount(c.host) > before ? 3 : 0;
      }
    }
    AddUnknownReportMessage(c.host, nr);
    return 3;
  } catch (...) {
    AddFailureMessage(c.host, " Do_Elec_Report() Error:", std::current_exception());
    return 3;
  }
}

std::vector<std::string> InstalledPrinters() {
  return InstalledPrinterNames();
}

void SelectPrinter(const PrintCtx& c, const std::string& name) {
  if (name.empty()) return;
  auto printers = InstalledPrinters();
  if (std::find(printers.begin(), printers.end(), name) != printers.end()) {
    c.print.selected_printer = name;
  }
}

}  // namespace wcomp837
