// The two printed reports read back from their PDFs: the Summary of a
// claim file and the list of secondaries missing adjustment reason codes.
#include <regex>

#include "report_fixture.h"

namespace wcomp837::testing {
namespace {

std::string Record(const std::string& text) {
  return "\"" + text + "\"\r\n";
}

std::string PracticeHeader(const std::string& practice) {
  return Record("12/6/2026 6:10:43 AM") + Record(practice) + Record(" ") +
         Record(
             "This is a list of patients who have secondaries missing Adjustment Reason "
             "Codes") +
         Record("") +
         Record("Patient                                          SrvDate   Proc    Ins") +
         Record(std::string(70, '-')) + Record("");
}

std::string DetailRecord(const std::string& patient, const std::string& date) {
  std::string line(85, ' ');
  line.replace(0, patient.size(), patient);
  line.replace(49, 8, date);
  line.replace(59, 5, "99213");
  line.replace(67, 10, "WCINS, INC");
  return Record(line);
}

// Text items of the PDF with whether they are bold, in reading order.
std::vector<std::pair<std::string, bool>> TextWithWeight(const std::string& pdf) {
  std::string xml = RunCommand("pdftohtml -xml -i -stdout '" + pdf + "' 2>/dev/null");
  std::vector<std::pair<std::string, bool>> items;
  std::regex text(R"re(<text [^>]*>(<b>)?(.*?)(</b>)?</text>)re");
  for (std::sregex_iterator it(xml.begin(), xml.end(), text), end; it != end; ++it) {
    items.emplace_back((*it)[2], (*it)[1].matched);
  }
  return items;
}

using NacReportTest = ReportTest;

TEST_F(NacReportTest, PrintsTheListBoldUpToTheFirstRule) {
  WriteFile(NacFile(),
            PracticeHeader("P1 NORTH CLINIC") + DetailRecord("ACC1 DOE, JOHN", "11012026") +
                PracticeHeader("P2 SOUTH CLINIC") + DetailRecord("ACC2 ROE, ANN", "11022026"));
  ASSERT_EQ(PrintReport(2), 0);
  EXPECT_TRUE(Messages().empty());
  auto pages = PdfPages(NacPdf(), "6");
  ASSERT_EQ(pages.size(), 1u);
  auto lines = Lines(pages[0]);
  std::string titles = LineWith(lines, "Patient ");
  std::size_t base = titles.find("Patient");
  EXPECT_EQ(titles.find("SrvDate") - base, 49u);
  std::string detail = LineWith(lines, "ACC1 DOE, JOHN");
  EXPECT_EQ(detail.find("ACC1") - base, 0u);
  EXPECT_EQ(detail.find("11012026") - base, 49u);
  EXPECT_EQ(detail.find("99213") - base, 59u);
  EXPECT_EQ(detail.find("WCINS, INC") - base, 67u);  // commas stay in the record
  EXPECT_NE(LineWith(lines, "P2 SOUTH CLINIC"), "");

  auto items = TextWithWeight(NacPdf());
  ASSERT_FALSE(items.empty());
  bool rule_seen = false;
  for (const auto& [text, bold] : items) {
    EXPECT_EQ(bold, !rule_seen) << text;
    if (text.find("-----") != std::string::npos) rule_seen = true;
  }
  EXPECT_TRUE(rule_seen);
}

TEST_F(NacReportTest, LongListsBreakPages) {
  // A record far wider than the page prints what fits.
  std::string content = PracticeHeader("P1 NORTH CLINIC") + Record(std::string(5000000, 'W'));
  for (int i = 0; i < 150; ++i) {
    content += DetailRecord("ACC" + std::to_string(i) + " DOE, JOHN", "11012026");
  }
  WriteFile(NacFile(), content);
  ASSERT_EQ(PrintReport(2), 0);
  auto pages = PdfPages(NacPdf(), "6");
  ASSERT_EQ(pages.size(), 3u);
  // Full pages: the header and 59 records, then 68 records.
  EXPECT_NE(Lines(pages[1]).at(0).find("ACC59 DOE, JOHN"), std::string::npos);
  EXPECT_NE(Lines(pages[2]).at(0).find("ACC127 DOE, JOHN"), std::string::npos);
  ExpectParts(pages.back(), {"ACC149 DOE, JOHN"});
  ExpectParts(pages[0], {std::string(85, 'W')});
  EXPECT_EQ(pages[0].find(std::string(200, 'W')), std::string::npos);
}

// A report whose input is missing answers 3 with the file's name and leaves
// no stale document; the claim file name may never have been set.
TEST_F(NacReportTest, MissingInputIsReportedAndNothingPrinted) {
  struct Case {
    std::int16_t report;
    std::string claims, input, document;
  };
  const Case kCases[] = {{2, claim_file, NacFile(), NacPdf()},
                         {2, "?", "?_NAC.Dat", ""},
                         {1, claim_file, claim_file, SummaryPdf()}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.input);
    if (!c.document.empty()) WriteFile(c.document, "old report");
    g.host.gsASCIIFile = c.claims;
    g.host.gMessageArray.assign(11, {});
    EXPECT_EQ(PrintReport(c.report), 3);
    EXPECT_EQ(Messages(), (std::vector<std::string>{" 3//GetBinaryRecLen()  File Not Found: ",
                                                    " 3//File: " + c.input}));
    if (!c.document.empty()) {
      EXPECT_FALSE(std::filesystem::exists(c.document));
    }
  }
}

const std::string kClinic = "NM1*85*2*NORTH CLINIC*****XX*1234567893~";
const std::string kPerson = "NM1*85*1*SMITH*JANE****24*~";

// 1-based column of a text in a page line, measured from the left edge of
// the report (the column of "Report Date: ").
struct Columns {
  std::size_t base;
  explicit Columns(const std::vector<std::string>& lines)
      : base(LineWith(lines, "Report Date: ").find("Report Date: ")) {}
  std::size_t Of(const std::string& line, const std::string& text, std::size_t from = 0) const {
    std::size_t pos = line.find(text, from);
    return pos == std::string::npos ? 0 : pos - base + 1;
  }
};

using SummaryReportTest = ReportTest;

TEST_F(SummaryReportTest, PrintsHeadingsColumnsAndTotalsOfATestFile) {
  std::string claim = Claim("ACCT001", "DOE*JOHN*Q",
                            {{"HC:99213:25:59*100*UN*1*11**1", "D8*20261101", "", ""},
                             {"HC:97110*50.5*UN*1.5***2", "RD8*20261101-20261105", "", ""},
                             {"HC:97140:GP*.75*UN*2.25*12**3", "RD8*20261103-20261103", "", ""}},
                            "NM1*DN*1*REFERRER*ROBERT~");
  WriteFile(claim_file, Isa("T") + Transaction(kClinic, "0001", {claim}) + Iea());
  ASSERT_EQ(PrintReport(1), 0);
  EXPECT_TRUE(Messages().empty());
  // Regular and bold faces of the fixed-pitch font travel in the document.
  auto fonts = Lines(RunCommand("pdffonts '" + SummaryPdf() + "'"));
  EXPECT_NE(LineWith(fonts, "LiberationMono-Bold").find(" yes "), std::string::npos);
  EXPECT_NE(LineWith(fonts, "LiberationMono ").find(" yes "), std::string::npos);
  auto pages = PdfPages(SummaryPdf(), "4.8");
  ASSERT_EQ(pages.size(), 1u);
  auto lines = Lines(pages[0]);
  Columns col(lines);

  std::string title = "Workers COMP Prof.837 (ANSI 4010 A1) Summary Report ** TEST **";
  std::string l1 = LineWith(lines, "Report Date: 12/06/2026 06:10");
  EXPECT_EQ(col.Of(l1, title), 36u);  // (135 - 63) / 2
  EXPECT_EQ(col.Of(l1, "Page:  1") + 7, 135u);
  std::string l2 = LineWith(lines, "Submitter: SUBMIT01   Submission#: 123 ");
  EXPECT_EQ(col.Of(l2, "Summary"), 64u);
  EXPECT_EQ(col.Of(l2, "Created: 12/06/2026") + 18, 135u);
  std::string titles = LineWith(lines, "ACCOUNT NUMBER");
  EXPECT_EQ(col.Of(titles, "POLICY#"), 42u);
  EXPECT_EQ(col.Of(titles, "MODS"), 81u);
  EXPECT_EQ(col.Of(titles, "POS    DIAG UNITS"), 87u);
  EXPECT_EQ(col.Of(titles, "Referring"), 120u);

  ExpectParts(pages[0], {std::string(135, '-'), "Provider: 1234567893 NORTH CLINIC"});
  std::string d1 = LineWith(lines, "ACCT001");
  EXPECT_EQ(col.Of(d1, "ACCT001"), 1u);
  EXPECT_EQ(col.Of(d1, "DOE, JOHN Q."), 16u);
  EXPECT_EQ(col.Of(d1, "POL-ACCT001"), 42u);
  EXPECT_EQ(col.Of(d1, "110126 "), 59u);  // one date for D8
  EXPECT_EQ(col.Of(d1, "99213"), 73u);
  EXPECT_EQ(col.Of(d1, "25,59"), 81u);
  EXPECT_EQ(col.Of(d1, "11     8472  1      100.00"), 87u);
  EXPECT_EQ(col.Of(d1, " P "), 115u);
  EXPECT_EQ(col.Of(d1, "REFERRER, RO"), 120u);
  EXPECT_EQ(d1.find("REFERRER, ROB"), std::string::npos);  // cut to 12

  std::string d2 = LineWith(lines, "110126-110526");
  EXPECT_EQ(d2.find("ACCT001"), std::string::npos);  // claim columns only once
  EXPECT_EQ(col.Of(d2, "97110         11     7242  1.5     50.50"), 73u);
  std::string d3 = LineWith(lines, "97140");
  EXPECT_EQ(col.Of(d3, "110326 "), 59u);  // equal from and to dates
  EXPECT_EQ(col.Of(d3, "GP    12     7231  2.25     0.75"), 81u);

  ExpectParts(pages[0], {"Totals for Provider: 1234567893 NORTH CLINIC  Claims:  1  Charges:  3 "
                         "  Amount: $151.25   Batch Control #: 0001",
                         "File Totals:   Claims:  1  Charges:  3   Amount: $151.25   Batches:  1"});
}

TEST_F(SummaryReportTest, ProductionFileWithTwoProvidersAndPatientClaims) {
  std::string c1 = Claim("A1", "ROE*ANN*MARIE**JR", {{"HC:99203*1200*UN*1", "D8*20261001"}});
  std::string c2 = Claim("A2", "ROE*BEN", {{"HC:99204*1000000*UN*10", "D8*20261002"}});
  // A patient below the subscriber: name and policy come from NM1*QC.
  std::string c3 = Claim("A3", "ROE*CAL", {{"HC:99205*0.5*UN*1", "D8*20261003"}});
  c3.insert(c3.find("CLM*"), "HL*3*2*23*0~PAT*01~NM1*QC*1*  KID  *TOM****MI*PQ99~");
  WriteFile(claim_file, Isa("P", "000004567") + Transaction(kClinic, "0001", {c1}) +
                            Transaction(kPerson, "0002", {c2, c3}) + Iea("000004567"));
  ASSERT_EQ(PrintReport(1), 0);
  auto pages = PdfPages(SummaryPdf(), "4.8");
  ASSERT_EQ(pages.size(), 1u);
  auto lines = Lines(pages[0]);
  Columns col(lines);
  EXPECT_EQ(pages[0].find("** TEST **"), std::string::npos);
  EXPECT_EQ(col.Of(LineWith(lines, "ROE JR, ANN MARIE"), "ROE JR, ANN MARIE"), 16u);
  std::string kid = LineWith(lines, "A3 ");
  EXPECT_EQ(col.Of(kid, "KID "), 16u);
  EXPECT_EQ(col.Of(kid, "PQ99"), 42u);
  // A person provider's identifier comes from the REF after NM1*85.
  ExpectParts(pages[0], {"Submission#: 4567 ", "Provider: 123456789 SMITH,JANE",
                         "Totals for Provider: 1234567893 NORTH CLINIC  Claims:  1  Charges:  1"
                         "   Amount: $1,200.00   Batch Control #: 0001",
                         "Totals for Provider: 123456789 SMITH, JANE  Claims:  2  Charges:  2"
                         "   Amount: $1,000,000.50   Batch Control #: 0002",
                         "File Totals:   Claims:  3  Charges:  3   Amount: $1,001,200.50   "
                         "Batches:  2"});
}

TEST_F(SummaryReportTest, EachInterchangeStartsAPageWithItsOwnSubmitter) {
  std::string c1 = Claim("I1", "DOE*JOHN", {{"HC:99213*10*UN*1", "D8*20261101"}});
  std::string c2 = Claim("I2", "ROE*ANN", {{"HC:99214*20*UN*1", "D8*20261102"}});
  WriteFile(claim_file, Isa("T", "000000001") + Transaction(kClinic, "0001", {c1}) +
                            Iea("000000001") + Isa("P", "000000002") +
                            Transaction(kClinic, "0001", {c2}) + Iea("000000002"));
  ASSERT_EQ(PrintReport(1), 0);
  auto pages = PdfPages(SummaryPdf(), "4.8");
  ASSERT_EQ(pages.size(), 2u);
  ExpectParts(pages[0], {"Submission#: 1 ", "** TEST **"});
  ExpectParts(pages[1], {"Submission#: 2 ", "Page:  2"});
  EXPECT_EQ(pages[1].find("** TEST **"), std::string::npos);
  // File totals run over the whole file.
  EXPECT_NE(pages[1].find("File Totals:   Claims:  2  Charges:  2   Amount: $30.00   Batches:  2"),
            std::string::npos);
}

TEST_F(SummaryReportTest, RenderingProviderShowsOnlyBeforeTheServiceDate) {
  std::string claim = Claim(
      "R1", "DOE*JOHN",
      {{"HC:99213*10*UN*1", "D8*20261101", "NM1*82*1*RENDERINGDOCTORNAME*ALICE****XX*99~", ""},
       {"HC:99214*20*UN*1", "D8*20261102", "", "NM1*82*1*LATE*BOB****XX*98~"},
       {"HC:99215*30*UN*1", "D8*20261103", "", ""}},
      "NM1*82*1*CLAIMLEVEL*CARL****XX*97~");
  WriteFile(claim_file, Isa("P") + Transaction(kClinic, "0001", {claim}) + Iea());
  ASSERT_EQ(PrintReport(1), 0);
  auto lines = Lines(PdfPages(SummaryPdf(), "4.8").at(0));
  Columns col(lines);
  std::string l1 = LineWith(lines, "99213");
  EXPECT_EQ(col.Of(l1, "RENDERINGDOCTORNAME"), 115u);
  EXPECT_NE(l1.find("RENDERINGDOCTORNAM"), std::string::npos);
  EXPECT_EQ(l1.find("RENDERINGDOCTORNAME,"), std::string::npos);  // 20 characters at most
  EXPECT_EQ(LineWith(lines, "99214").find("LATE"), std::string::npos);
  EXPECT_EQ(LineWith(lines, "99215").find("LATE"), std::string::npos);
  EXPECT_EQ(LineWith(lines, "CLAIMLEVEL"), "");
}

TEST_F(SummaryReportTest, PageBreaksRepeatHeadingsAndClaimColumns) {
  std::vector<TestLine> many;
  for (int i = 0; i < 130; ++i) many.push_back({"HC:99213*10*UN*1", "D8*20261101"});
  std::string big = Claim("BIG1", "LONG*CLAIM", many);
  std::string next = Claim("NEXT2", "SHORT*ONE", {{"HC:99212*5*UN*1", "D8*20261102"}});
  WriteFile(claim_file, Isa("T") + Transaction(kClinic, "0001", {big, next}) + Iea());
  ASSERT_EQ(PrintReport(1), 0);
  auto pages = PdfPages(SummaryPdf(), "4.8");
  ASSERT_EQ(pages.size(), 3u);
  int detail_lines = 0;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    auto lines = Lines(pages[p]);
    Columns col(lines);
    std::string l1 = LineWith(lines, "Report Date: ");
    EXPECT_NE(l1.find("Summary Report ** TEST **"), std::string::npos);
    EXPECT_EQ(col.Of(l1, "Page:  " + std::to_string(p + 1)) + 7, 135u);
    EXPECT_NE(LineWith(lines, "ACCOUNT NUMBER"), "");
    // The first service line of every page carries the claim columns.
    std::size_t first = 0;
    while (first < lines.size() && lines[first].find("99213") == std::string::npos) ++first;
    ASSERT_LT(first, lines.size());
    EXPECT_NE(lines[first].find("BIG1"), std::string::npos) << p;
    for (const auto& l : lines) detail_lines += l.find("99213") != std::string::npos;
    EXPECT_LE(lines.size(), 70u);
  }
  EXPECT_EQ(detail_lines, 130);
  EXPECT_NE(pages.back().find("File Totals:   Claims:  2  Charges:  131   Amount: $1,305.00"),
            std::string::npos);
}

TEST_F(SummaryReportTest, EmptyAndDamagedFilesPrintSafely) {
  WriteFile(claim_file, "");
  EXPECT_EQ(PrintReport(1), 0);
  EXPECT_FALSE(std::filesystem::exists(SummaryPdf()));  // nothing was printed

  // Line breaks between segments, bytes above 127, a pointer to no
  // diagnosis, a short service date, 200 elements, no final "~".
  std::string odd =
      "HL*2*1*22*0~\nSBR*P*18*P\xe9"
      "1~NM1*IL*1*D\xff"
      "E*J~CLM*X1*5***11~HI*BK:1~"
      "SV1*HC:1*5*UN*1***99~DTP*472*D8*2026~SV1*HC:2*5*UN*1*99999999999*"
      "*1:2:3:4:5:6:7:8:9:10:11:12~DTP*472*RD8*1~NM1" +
      std::string(200, '*') + "~DTP*472~";
  WriteFile(claim_file, Isa("P") + Transaction(kClinic, "0001", {odd}) + "IEA*1*000000123");
  EXPECT_EQ(PrintReport(1), 0);
  EXPECT_TRUE(Messages().empty());
  auto pages = PdfPages(SummaryPdf(), "4.8");
  ASSERT_EQ(pages.size(), 1u);
  ExpectParts(pages[0], {"Claims:  1  Charges:  3   Amount: $10.00", "File Totals:"});
}

}  // namespace
}  // namespace wcomp837::testing
