// Shared setup of the report tests: a state with a claim file in a temporary
// folder, a fixed clock, hand-written 837 files and reading PDFs back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/state.h"
#include "support/test_support.h"

namespace wcomp837::testing {

// Output of a shell command (stdout), empty when it fails.
std::string RunCommand(const std::string& command);
// Pages of a PDF as text laid out at the given character pitch.
std::vector<std::string> PdfPages(const std::string& pdf, const std::string& pitch);
// Lines of a page of text.
std::vector<std::string> Lines(const std::string& page);
// The line holding the text, or "" when none does.
std::string LineWith(const std::vector<std::string>& lines, const std::string& text);
// Number of pages (pdfinfo).
int PdfPageCount(const std::string& pdf);

// 837 building blocks.
std::string Isa(const std::string& usage, const std::string& control = "000000123");
std::string Iea(const std::string& control = "000000123");
struct TestLine {
  std::string sv1;              // SV1 elements after "SV1*"
  std::string dtp;              // DTP03 with its qualifier, e.g. "D8*20261101"
  std::string before_dtp = "";  // segments between SV1 and DTP
  std::string after_dtp = "";   // segments after DTP
};
std::string Claim(const std::string& account, const std::string& insured,
                  const std::vector<TestLine>& lines, const std::string& extra = "");
// One transaction set for a billing provider with the given claims.
std::string Transaction(const std::string& providerNm1, const std::string& control,
                        const std::vector<std::string>& claims);

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Writes the claim file and prints the report; answers Do_Elec_Report.
  std::int16_t PrintReport(std::int16_t nr);
  std::vector<std::string> Messages();
  std::string SummaryPdf() const { return claim_file + "_Summary.pdf"; }
  std::string NacPdf() const { return claim_file + "_NAC.pdf"; }

  TempDir dir;
  std::string claim_file;
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

}  // namespace wcomp837::testing
