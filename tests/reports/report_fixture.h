// Shared setup of the report tests: a state with a claim file in a temporary
// folder, a fixed clock, hand-written 837 files and reading PDFs back.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "claim/state.h"
#include "platform/clock.h"
#include "records/numeric.h"
#include "reports/reports.h"
#include "state/messages.h"
#include "support/test_support.h"

namespace wcomp837::testing {

// Output of a shell command (stdout), empty when it fails.
inline std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buf[65536];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

// Pages of a PDF as text laid out at the given character pitch.
inline std::vector<std::string> PdfPages(const std::string& pdf, const std::string& pitch) {
  std::string text =
      RunCommand("pdftotext -layout -fixed " + pitch + " '" + pdf + "' - 2>/dev/null");
  std::vector<std::string> pages;
  std::size_t start = 0;
  for (std::size_t ff; (ff = text.find('\f', start)) != std::string::npos; start = ff + 1) {
    pages.push_back(text.substr(start, ff - start));
  }
  return pages;
}

inline std::vector<std::string> Lines(const std::string& page) {
  std::vector<std::string> lines;
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The line holding the text, or "" when none does.
inline std::string LineWith(const std::vector<std::string>& lines, const std::string& text) {
  for (const auto& l : lines) {
    if (l.find(text) != std::string::npos) return l;
  }
  return "";
}

// Every part is somewhere in the page.
inline void ExpectParts(const std::string& page, std::initializer_list<std::string> parts) {
  for (const std::string& part : parts) {
    EXPECT_NE(page.find(part), std::string::npos) << part << " in\n" << page;
  }
}

inline int PdfPageCount(const std::string& pdf) {
  std::string info = RunCommand("pdfinfo '" + pdf + "' 2>/dev/null");
  auto pos = info.find("Pages:");
  return pos == std::string::npos ? 0 : std::stoi(info.substr(pos + 6));
}

// 837 building blocks.
inline std::string Isa(const std::string& usage, const std::string& control = "000000123") {
  return "ISA*00*          *00*          *ZZ*SUBMIT01       *ZZ*RECEIVER01     *261206*0610*U*"
         "00401*" +
         control + "*0*" + usage +
         "*:~\r\nGS*HC*SUBMIT01*RECEIVER01*20261206*0610*123*X*004010X098A1~\r\n";
}
inline std::string Iea(const std::string& control = "000000123") {
  return "GE*1*123~IEA*1*" + control + "~";
}
struct TestLine {
  std::string sv1;              // SV1 elements after "SV1*"
  std::string dtp;              // DTP03 with its qualifier, e.g. "D8*20261101"
  std::string before_dtp = "";  // segments between SV1 and DTP
  std::string after_dtp = "";   // segments after DTP
};
inline std::string Claim(const std::string& account, const std::string& insured,
                         const std::vector<TestLine>& lines, const std::string& extra = "") {
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
// One transaction set for a billing provider with the given claims.
inline std::string Transaction(const std::string& providerNm1, const std::string& control,
                               const std::vector<std::string>& claims) {
  std::string s = "ST*837*" + control + "~BHT*0019*00*1*20261206*0610*CH~HL*1**20*1~" +
                  providerNm1 + "REF*EI*123456789~";
  for (const auto& claim : claims) s += claim;
  return s + "SE*99*" + control + "~";
}

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFixedClock(DateTime{2026, 12, 6, 6, 10, 43});
    g.host.gsOutputPath = dir.path();
    g.host.gsASCIIFile = claim_file;
    g.print.selected_printer = "PDF";
  }
  void TearDown() override { SetFixedClock(std::nullopt); }
  std::int16_t PrintReport(std::int16_t nr) { return Do_Elec_Report(c, nr); }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const auto& m : g.host.gMessageArray) {
      if (m.iMsgType != 0) out.push_back(SignedText(m.iMsgType) + "//" + m.sMsgText);
    }
    return out;
  }
  std::string SummaryPdf() const { return claim_file + "_Summary.pdf"; }
  std::string NacPdf() const { return claim_file + "_NAC.pdf"; }
  std::string NacFile() const { return claim_file + "_NAC.Dat"; }

  TempDir dir;
  std::string claim_file = dir.File("B1.ANS");
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

}  // namespace wcomp837::testing
