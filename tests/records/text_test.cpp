#include "records/text.h"

#include <gtest/gtest.h>

#include "state/messages.h"
#include "wcomp837/failure.h"

namespace wcomp837 {
namespace {

TEST(SquashAllPunctuation, KeepsCapitalsDigitsBlanksAndDots) {
  HostState h;
  EXPECT_EQ(SquashAllPunctuation(h, "O'Brien-Smith, Jr."), "OBRIENSMITH JR.");
  EXPECT_EQ(SquashAllPunctuation(h, "12-34"), "1234");
  EXPECT_EQ(SquashAllPunctuation(h, "A.B. C"), "A.B. C");
  EXPECT_EQ(SquashAllPunctuation(h, "#1 & 2/3\t\xC3\xA9z"), "1  23Z");
  EXPECT_EQ(SquashAllPunctuation(h, "A B.C", true, false, ""), "AB.C");
  EXPECT_EQ(SquashAllPunctuation(h, "a-B/C D.", false, true, "-"), "A-BC D");
  EXPECT_EQ(MessageCount(h), 0);
  // Lengths are 16-bit: a longer text is reported and comes back empty.
  EXPECT_EQ(SquashAllPunctuation(h, std::string(32767, 'A')).size(), 32767u);
  EXPECT_EQ(SquashAllPunctuation(h, std::string(32768, 'A')), "");
  ASSERT_EQ(MessageCount(h), 1);
  EXPECT_EQ(h.gMessageArray[1].sMsgText, h.gsDllName + " SquashAllPunctuation() 6 Overflow");
}

TEST(GetCountryCode, MapsTheKnownNamesExactly) {
  const std::pair<const char*, const char*> cases[] = {
      {"USA", ""},       {"US", ""},     {"1.0", ""}, {"CANADA", "CA"}, {"2.0", "CA"},
      {"GERMANY", "DE"}, {"Canada", ""}, {"usa", ""}, {"FRANCE", ""},   {"", ""}};
  for (const auto& [name, code] : cases) EXPECT_EQ(GetCountryCode(name), code) << name;
}

TEST(Padding, PadsShortTextsAndNeverCuts) {
  EXPECT_EQ(PadWithChar("7", 4, "0", false), "0007");
  EXPECT_EQ(PadWithChar("7", 4, "0", true), "7000");
  EXPECT_EQ(PadWithChar("", 4, "0", false), "0000");
  EXPECT_EQ(PadWithChar("12345", 4, "0", false), "12345");
  EXPECT_EQ(PadWithSpaces("AB", 4, false), "  AB");
  EXPECT_EQ(PadWithSpaces("AB", -3, true), "AB");
  EXPECT_THROW(PadWithChar("1", 4, "", false), Failure);
  EXPECT_THROW(PadWithChar(std::string(40000, 'x'), 4, "0", false), Failure);
}

TEST(SplitAtChar, SplitsAtTheFirstSeparator) {
  const std::array<std::string, 3> cases[] = {
      {"12/34", "12", "34"}, {"/34", "", "34"}, {" 1234 ", "1234", ""}, {" A / B/C ", "A", "B/C"}};
  for (const auto& [text, left, right] : cases) {
    std::string l, r = "old";
    SplitAtChar(text, "/", l, r);
    EXPECT_EQ(l, left) << text;
    EXPECT_EQ(r, right) << text;
  }
  std::string same = "X/Y", right;
  SplitAtChar(same, "/", same, right);  // the text may be its own left part
  EXPECT_EQ(same + right, "XY");
}

TEST(TextRemoval, StripMidStringAndNarrative19) {
  HostState h;
  EXPECT_EQ(StripMidStringFromWholeString(h, "BC", "ABCDBC"), "ADBC");
  EXPECT_EQ(StripMidStringFromWholeString(h, "", "ABC"), "ABC");
  EXPECT_EQ(StripMidStringFromWholeString(h, "abc", "ABC"), "ABC");
  EXPECT_EQ(Strip19FromNarrative(h, "19-A;B;C"), "A B;C");
  EXPECT_EQ(Strip19FromNarrative(h, "20-A;B"), "20-A;B");
  EXPECT_EQ(Strip19FromNarrative(h, " 19-A;B"), " 19-A;B");
}

TEST(FormatAmount, Styles) {
  const auto F = [](const char* text, int style) {
    return FormatAmount(Currency::FromText(text), style);
  };
  EXPECT_EQ(F("0", 4), "0.00");
  EXPECT_EQ(F("0", 2), ".00");
  EXPECT_EQ(F("0", 1), "");
  EXPECT_EQ(F("-12.345", 4), "-12.35");  // halves away from zero
  EXPECT_EQ(F("2.5", 3), "3");
  EXPECT_EQ(F("12.345", 5), "1234");
  EXPECT_EQ(F("-0.015", 5), "-2");  // rounded down
  EXPECT_EQ(F("5.50", 7), "5.5");
  EXPECT_EQ(F("1.999", 1), "2");
}

}  // namespace
}  // namespace wcomp837
