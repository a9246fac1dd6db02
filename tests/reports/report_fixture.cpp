#include "report_fixture.h"

#include <cstdio>
#include <sstream>

#include "platform/clock.h"
#include "records/numeric.h"
#include "reports/reports.h"
#include "state/messages.h"

namespace wcomp837::testing {

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

std::vector<std::string> PdfPages(const std::string& pdf, const std::string& pitch) {
  std::string text =
      RunCommand("pdftotext -layout -fixed " + pitch + " '" + pdf + "' - 2>/dev/null");
  std::vector<std::string> pages;
  std::size_t start = 0;
  for (std::size_t ff; (ff = text.find('\f', start)) != std::string::npos; start = ff + 1) {
    pages.push_back(text.substr(start, ff - start));
  }
  return pages;
}

std::vector<std::string> Lines(const std::string& page) {
  std::vector<std::string> lines;
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string LineWith(const std::vector<std::string>& lines, const std::string& text) {
  for (const auto& l : lines) {
    if (l.find(text) != std::string::npos) return l;
  }
  return "";
}

int PdfPageCount(const std::string& pdf) {
  std::string info = RunCommand("pdfinfo '" + pdf + "' 2>/dev/null");
  auto pos = info.find("Pages:");
  return pos == std::string::npos ? 0 : std::stoi(info.substr(pos + 6));
}

std::string Isa(const std::string& usage, const std::string& control) {
  return "ISA*00*          *00*          *ZZ*SUBMIT01       *ZZ*RECEIVER01     *261206*0610*U*"
         "00401*" +
         control + "*0*" + usage +
         "*:~\r\nGS*HC*SUBMIT01*RECEIVER01*20261206*0610*123*X*"
         "004010X098A1~\r\n";
}

std::string Iea(const std::string& control) {
  return "GE*1*123~IEA*1*" + control + "~";
}

std::string Claim(const std::string& account, const std::string& insured,
                  const std::vector<TestLine>& lines, const std::string& extra) {
  std::string s = "HL*2*1*22*0~SBR*P*18*POL-" + account + "******WC~NM1*IL*1*" + insured +
                  "****MI*INS1~NM1*PR*2*ACME INSURANCE*****PI*12345~CLM*" + account +
                  "*150***11::1*Y*A*Y*Y~HI*BK:8472*BF:7242*BF:7231~" + extra;
  int lx = 0;
  for (const auto& l : lines) {
    s += "LX*" + std::to_string(++lx) + "~SV1*" + l.sv1 + "~" + l.before_dtp + "DTP*472*" + l.dtp +
         "~" + l.after_dtp;
  }
  return s;
}

std::string Transaction(const std::string& providerNm1, const std::string& control,
                        const std::vector<std::string>& claims) {
  std::string s = "ST*837*" + control + "~BHT*0019*00*1*20261206*0610*CH~HL*1**20*1~" +
                  providerNm1 + "REF*EI*123456789~";
  for (const auto& claim : claims) s += claim;
  return s + "SE*99*" + control + "~";
}

void ReportTest::SetUp() {
  SetFixedClock(DateTime{2026, 12, 6, 6, 10, 43});
  claim_file = dir.File("B1.ANS");
  g.host.gsOutputPath = dir.path();
  g.host.gsASCIIFile = claim_file;
  g.print.selected_printer = "PDF";
}

void ReportTest::TearDown() {
  SetFixedClock(std::nullopt);
}

std::int16_t ReportTest::PrintReport(std::int16_t nr) {
  return Do_Elec_Report(c, nr);
}

std::vector<std::string> ReportTest::Messages() {
  std::vector<std::string> out;
  for (const auto& m : g.host.gMessageArray) {
    if (m.iMsgType != 0) out.push_back(SignedText(m.iMsgType) + "//" + m.sMsgText);
  }
  return out;
}

}  // namespace wcomp837::testing
