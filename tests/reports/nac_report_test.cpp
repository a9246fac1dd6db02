#include <gtest/gtest.h>

#include <regex>

#include "report_fixture.h"
#include "wcomp837/format_class.h"

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

class NacReportTest : public ReportTest {
 protected:
  std::string NacFile() const { return claim_file + "_NAC.Dat"; }
};

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
  int printed = 0;
  for (const auto& page : pages) {
    auto lines = Lines(page);
    EXPECT_LE(lines.size(), 70u);
    for (const auto& l : lines) printed += l.find(" DOE, JOHN") != std::string::npos;
  }
  EXPECT_EQ(printed, 150);
  EXPECT_NE(pages.back().find("ACC149 DOE, JOHN"), std::string::npos);
  EXPECT_NE(pages[0].find(std::string(85, 'W')), std::string::npos);
  EXPECT_EQ(pages[0].find(std::string(200, 'W')), std::string::npos);
}

TEST_F(NacReportTest, MissingListIsReportedAndNothingPrinted) {
  WriteFile(NacPdf(), "old report");
  EXPECT_EQ(PrintReport(2), 3);
  EXPECT_EQ(Messages(), (std::vector<std::string>{" 3//GetBinaryRecLen()  File Not Found: ",
                                                  " 3//File: " + NacFile()}));
  EXPECT_FALSE(std::filesystem::exists(NacPdf()));

  g.host.gMessageArray.assign(11, {});
  g.host.gsASCIIFile = "?";  // claim file name never set
  EXPECT_EQ(PrintReport(2), 3);
  EXPECT_EQ(Messages(), (std::vector<std::string>{" 3//GetBinaryRecLen()  File Not Found: ",
                                                  " 3//File: ?_NAC.Dat"}));
}

// Through the host's messages: DELETEBATCH removes the list, and printing a
// report first deletes the run log.
TEST(ReportMessages, DeleteBatchThenReportAndLogDeletedBeforePrinting) {
  TempDir dir;
  WriteFile(dir.File("B1.ANS"), Isa("P") + Iea());
  WriteFile(dir.File("B1.ANS_NAC.Dat"), Record("No secondaries without Adjustment Reason "
                                               "Codes were found."));
  Format_Class f;
  ASSERT_EQ(f.HereIsAMessage("1", dir.path()), 0);
  ASSERT_EQ(f.HereIsAMessage("2", "B1.ANS"), 0);
  EXPECT_EQ(f.HereIsAMessage("7", "PDF"), 0);
  EXPECT_EQ(f.HereIsAMessage("8", ""), 1);
  EXPECT_EQ(f.GetAMessage(1), " 1//Summary//Secondaries Missing Adjustment Reason Codes//");

  EXPECT_EQ(f.HereIsAMessage("5", "2"), 0);
  ASSERT_TRUE(std::filesystem::exists(dir.File("QZK_WCOMP_P4_Format.Log")));
  EXPECT_EQ(f.HereIsAMessage("9", "2"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("QZK_WCOMP_P4_Format.Log")));
  EXPECT_NE(RunCommand("pdftotext '" + dir.File("B1.ANS_NAC.pdf") + "' -").find("No secondaries"),
            std::string::npos);

  EXPECT_EQ(f.HereIsAMessage("DELETEBATCH", ""), 0);
  EXPECT_EQ(f.HereIsAMessage("9", "2"), 3);
  EXPECT_EQ(f.GetAMessage(1), " 3//GetBinaryRecLen()  File Not Found: //");
  EXPECT_EQ(f.GetAMessage(2), " 3//File: " + dir.File("B1.ANS_NAC.Dat") + "//");
  EXPECT_EQ(f.GetAMessage(3), "END");
  EXPECT_FALSE(std::filesystem::exists(dir.File("B1.ANS_NAC.pdf")));

  EXPECT_EQ(f.HereIsAMessage("9", "1"), 0);  // an empty interchange prints no page
  EXPECT_EQ(f.HereIsAMessage("9", "7"), 3);
  EXPECT_EQ(f.GetAMessage(1), " 3//Doesn't offer a report with Number:  7//");
}

}  // namespace
}  // namespace wcomp837::testing
