#include "reports/report_text.h"

#include <gtest/gtest.h>

#include "claim/state.h"
#include "reports/ansi_reader.h"
#include "reports/reports.h"
#include "support/test_support.h"

namespace wcomp837 {
namespace {

Currency Money(const char* text) {
  return Currency::FromText(text);
}

TEST(ReportText, NumberFormats) {
  EXPECT_EQ(FormatUnits(1.0f), "1 ");
  EXPECT_EQ(FormatUnits(1.5f), "1.5");
  EXPECT_EQ(FormatUnits(0.25f), "0.25");
  EXPECT_EQ(FormatUnits(2.1f), "2.1");
  EXPECT_EQ(FormatUnits(0.0f), "0 ");
  EXPECT_EQ(FormatUnits(1234.0f), "1234 ");
  EXPECT_EQ(FormatUnits(-2.0f), "-2 ");

  EXPECT_EQ(FormatCharge(Money("150.5")), "150.50");
  EXPECT_EQ(FormatCharge(Money(".5")), "0.50");
  EXPECT_EQ(FormatCharge(Money("0.125")), "0.13");  // halves away from zero
  EXPECT_EQ(FormatCharge(Money("-3.25")), "-3.25");
  EXPECT_EQ(RightAlign(FormatCharge(Money("7")), 9), "     7.00");
  EXPECT_EQ(RightAlign("1234567890.00", 9), "1234567890.00");

  EXPECT_EQ(FormatDollars(Money("0")), "$0.00");
  EXPECT_EQ(FormatDollars(Money("999.994")), "$999.99");
  EXPECT_EQ(FormatDollars(Money("1000")), "$1,000.00");
  EXPECT_EQ(FormatDollars(Money("1234567.891")), "$1,234,567.89");
  EXPECT_EQ(FormatDollars(Money("123456789012")), "$123,456,789,012.00");
  EXPECT_EQ(FormatDollars(Money("-1500")), "-$1,500.00");
}

TEST(ReportText, PlacementStaysInsideTheLine) {
  std::string line(10, ' ');
  PlaceText(line, 3, "ABCDEF", 2);
  EXPECT_EQ(line, "  AB      ");
  PlaceText(line, 8, "XYZW");  // cut at the line's end
  EXPECT_EQ(line, "  AB   XYZ");
  PlaceText(line, -1, "12345");  // columns before 1 are dropped
  EXPECT_EQ(line, "345B   XYZ");
  PlaceText(line, 99, "Q");
  EXPECT_EQ(line.size(), 10u);

  EXPECT_EQ(CentredColumn(63, 135), 36);  // 36
  EXPECT_EQ(CentredColumn(62, 135), 36);  // 36.5 -> even
  EXPECT_EQ(CentredColumn(64, 135), 36);  // 35.5 -> even
  EXPECT_EQ(CentredColumn(135, 135), 1);  // as wide as the line: from its first column
  EXPECT_EQ(CentredColumn(300, 135), 1);
  EXPECT_EQ(RightAlignedColumn(8, 135), 128);

  EXPECT_EQ(Mid("20261105", 5, 2), "11");
  EXPECT_EQ(Mid("2026", 10, 8), "");
  std::string date = "an earlier text";
  AssignMMDDCCYY(date, "20261105");
  EXPECT_EQ(date, "11052026");
  EXPECT_EQ(ReportDateTime(DateTime{2026, 3, 4, 15, 7, 9}), "03/04/2026 15:07");
}

TEST(AnsiReader, SegmentsAndElements) {
  testing::TempDir dir;
  std::string file = dir.File("c.ANS");
  // Longer than one read block and than a segment is kept.
  std::string big(kMaxSegmentBytes, 'x');
  testing::WriteFile(file, "ISA*00*A~\r\nGS*HC~~NM1*85**" + big + "~SE*1*0001");
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  ByteReader reader(file);
  std::vector<std::string> segments;
  std::string segment;
  while (reader.position() < reader.length()) {
    ASSERT_EQ(ReadNextANSIRecord(c, reader, segment), 0);
    segments.push_back(segment);
  }
  ASSERT_EQ(segments.size(), 5u);
  EXPECT_EQ(segments[0], "ISA*00*A*");
  EXPECT_EQ(segments[1], "GS*HC*");      // line breaks skipped
  EXPECT_EQ(segments[2], "*");           // an empty segment
  EXPECT_EQ(segments[4], "SE*1*0001*");  // no closing "~"

  SegmentElements e;
  ASSERT_EQ(ParseANSIRecord(c, segments[3], e), 0);
  EXPECT_EQ(e.size(), 4u);
  EXPECT_EQ(e[3], big.substr(0, kMaxSegmentBytes - 8));  // "NM1*85**" counts
  ParseANSIRecord(c, "A**C**", e);
  EXPECT_EQ(e, (SegmentElements{"A", "", "C", ""}));
  ParseANSIRecord(c, "", e);
  EXPECT_TRUE(e.empty());
  ParseANSIRecord(c, "NM1" + std::string(150, '*'), e);
  EXPECT_EQ(e.size(), kMaxSegmentElements);
  EXPECT_EQ(ElementAt(e, 500), "");
  EXPECT_EQ(ComponentAt("HC:99213:25", 0), "HC");
  EXPECT_EQ(ComponentAt("HC:99213:25", 2), "25");
  EXPECT_EQ(ComponentAt("HC:99213:25", 3), "");
  EXPECT_EQ(ComponentAt("", 0), "");
}

TEST(Printers, ListAndSelection) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  EXPECT_EQ(InstalledPrinters().at(0), "PDF");
  // Names match exactly; an empty name keeps the selection.
  for (const auto& [name, selected] :
       {std::pair{"No Such Printer", ""}, {"pdf", ""}, {"PDF", "PDF"}, {"", "PDF"}}) {
    SelectPrinter(c, name);
    EXPECT_EQ(g.print.selected_printer, selected) << name;
  }
  EXPECT_EQ(GetReportList(), "Summary//Secondaries Missing Adjustment Reason Codes");
}

}  // namespace
}  // namespace wcomp837
