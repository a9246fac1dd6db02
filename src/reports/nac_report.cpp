#include "reports/nac_report.h"

#include "platform/byte_reader.h"
#include "platform/files.h"
#include "reports/nac_file.h"
#include "reports/print_routines.h"
#include "reports/report_text.h"

namespace wcomp837 {

std::string QuotedItem(const std::string& line) {
  std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  if (line[start] != '"') return line.substr(start);
  std::size_t end = line.find('"', start + 1);
  return line.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

std::int16_t GetBinaryRecLen(const PrintCtx& c, const std::string& file,
                             std::int16_t defaultLength) {
  try {
    ByteReader probe(file);
    return defaultLength;
  } catch (...) {
    AddFileFailure(c.host, "GetBinaryRecLen()", file, std::current_exception());
    return -1;
  }
}

std::int16_t NAC_Report(const PrintCtx& c, const std::string&, const std::string& title) {
  const std::string file = NACFileName(c.host);
  try {
    StartPrintJob(c, c.host.gsASCIIFile + "_NAC.pdf", title);
    PrintJob& p = Printer(c);
    InitializePrinter(c, p);
    p.SetOrientation(Orientation::kPortrait);
    p.SetFont("Courier New", 10);
    p.SetBold(true);
    c.print.giPageNumber = 0;
    c.print.giLineWidth = kNACLineWidth;
    c.print.sReportTitle = title;
    ResetPrintLine(c);

    if (GetBinaryRecLen(c, file, 5) < 0) {
      AbandonPrintJob(c);
      return 3;
    }
    LineReader reader(file);
    std::string line;
    while (reader.Next(line)) {
      std::string text = QuotedItem(line);
      if (p.CurrentY() + p.TextHeight() >= p.PrintableHeight()) DoNewPage(c, true);
      PrintLine(c, text, true);
      // The rule line of a practice header ends the bold part.
      if (Mid(text, 3, 5) == "-----") p.SetBold(false);
    }
    EndPrintJob(c);
    return 0;
  } catch (...) {
    AbandonPrintJob(c);
    AddFileFailure(c.host, "NAC_Report()", file, std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
