// Text and number helpers of the records at their limits: 16-bit lengths and
// field counts, the ends of the currency range, separators and rounding.
#include "records/text.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>
#include <optional>
#include <tuple>

#include "records/numeric.h"
#include "records/parsers.h"
#include "state/messages.h"
#include "wcomp837/failure.h"

namespace wcomp837 {
namespace {

using V = std::vector<std::string>;

V Split(const std::string& text, const std::string& delimiter = "//") {
  V fields;
  SplitFields(text, fields, delimiter);
  return fields;
}

// Whether `run` fails with the overflow failure.
bool Overflows(const std::function<void()>& run) {
  try {
    run();
  } catch (const Failure& f) {
    return f.number == 6 && f.description == "Overflow";
  }
  return false;
}

TEST(SplitFields, CutsOnTheDelimiterCleansFieldsAndStopsAt32767) {
  EXPECT_EQ(Split("A// B //."), (V{"A", " B", ""}));
  EXPECT_EQ(Split("A//B//"), (V{"A", "B"}));  // a trailing delimiter adds nothing
  EXPECT_EQ(Split("A/B///C"), (V{"A/B", "/C"}));
  EXPECT_EQ(Split("x\t "), (V{"x\t"}));  // only blanks are cut
  EXPECT_EQ(Split("...//. .//.5//5.//.  //a.b"), (V{"", "", ".5", "5.", "", "a.b"}));
  EXPECT_EQ(Split("A;B;;C", ";"), (V{"A", "B", "", "C"}));
  V fields{"old0", "old1"};
  SplitFields("", fields, "//");
  EXPECT_EQ(fields, (V{"old0"}));  // element 0 keeps its old value
  SplitFields("A//B", fields, "");
  EXPECT_EQ(fields, (V{"old0"}));  // no delimiter: untouched

  std::string text = "X";
  for (int i = 1; i < 32767; ++i) text += "//X";
  EXPECT_EQ(Split(text).size(), 32767u);
  EXPECT_TRUE(Overflows([&] { Split(text + "//X"); }));
}

TEST(SquashAllPunctuation, OptionsAndTheSixteenBitLimit) {
  HostState h;
  EXPECT_EQ(SquashAllPunctuation(h, "#1 & 2/3\t\xC3\xA9z"), "1  23Z");
  EXPECT_EQ(SquashAllPunctuation(h, "A B.C", true, false, ""), "AB.C");
  EXPECT_EQ(SquashAllPunctuation(h, "a-B/C D.", false, true, "-"), "A-BC D");
  EXPECT_EQ(MessageCount(h), 0);
  // A longer text is reported and comes back empty.
  EXPECT_EQ(SquashAllPunctuation(h, std::string(32767, 'A')).size(), 32767u);
  EXPECT_EQ(SquashAllPunctuation(h, std::string(32768, 'A')), "");
  ASSERT_EQ(MessageCount(h), 1);
  EXPECT_EQ(h.gMessageArray[1].sMsgText, h.gsDllName + " SquashAllPunctuation() 6 Overflow");
}

TEST(TextHelpers, CountriesPaddingSplittingAndRemoval) {
  const std::pair<const char*, const char*> countries[] = {
      {"USA", ""},       {"US", ""},     {"1.0", ""}, {"CANADA", "CA"}, {"2.0", "CA"},
      {"GERMANY", "DE"}, {"Canada", ""}, {"usa", ""}, {"FRANCE", ""},   {"", ""}};
  for (const auto& [name, code] : countries) EXPECT_EQ(GetCountryCode(name), code) << name;

  // Short texts are padded, long ones never cut.
  EXPECT_EQ(PadWithChar("7", 4, "0", false) + PadWithChar("7", 4, "0", true) +
                PadWithChar("", 4, "0", false) + PadWithChar("12345", 4, "0", false),
            "00077000000012345");
  EXPECT_EQ(PadWithSpaces("AB", 4, false) + PadWithSpaces("AB", -3, true), "  ABAB");
  EXPECT_THROW(PadWithChar("1", 4, "", false), Failure);
  EXPECT_THROW(PadWithChar(std::string(40000, 'x'), 4, "0", false), Failure);

  const std::array<std::string, 3> splits[] = {
      {"12/34", "12", "34"}, {"/34", "", "34"}, {" 1234 ", "1234", ""}, {" A / B/C ", "A", "B/C"}};
  for (const auto& [text, left, right] : splits) {
    std::string l, r = "old";
    SplitAtChar(text, "/", l, r);
    EXPECT_EQ(l + "|" + r, left + "|" + right) << text;
  }
  std::string same = "X/Y", right;
  SplitAtChar(same, "/", same, right);  // the text may be its own left part
  EXPECT_EQ(same + right, "XY");

  HostState h;
  EXPECT_EQ(StripMidStringFromWholeString(h, "BC", "ABCDBC"), "ADBC");
  EXPECT_EQ(StripMidStringFromWholeString(h, "", "ABC"), "ABC");
  EXPECT_EQ(StripMidStringFromWholeString(h, "abc", "ABC"), "ABC");
  EXPECT_EQ(Strip19FromNarrative(h, "19-A;B;C"), "A B;C");
  EXPECT_EQ(Strip19FromNarrative(h, "20-A;B"), "20-A;B");
  EXPECT_EQ(Strip19FromNarrative(h, " 19-A;B"), " 19-A;B");
}

TEST(FormatAmount, StylesAndRounding) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"0", 4, "0.00"},         {"0", 2, ".00"},    {"0", 1, ""},
      {"-12.345", 4, "-12.35"}, {"2.5", 3, "3"},    {"12.345", 5, "1234"},  // halves away from zero
      {"-0.015", 5, "-2"},      {"5.50", 7, "5.5"}, {"1.999", 1, "2"}};
  for (const auto& [text, style, formatted] : cases) {
    EXPECT_EQ(FormatAmount(Currency::FromText(text), style), formatted) << text << " " << style;
  }
}

// Amounts at and beyond the ends of the currency range and units beyond
// single precision: the ends are exact, one step beyond (after rounding too)
// is the overflow failure, and so is a sum that leaves the range.
TEST(Currency, RangeEndsAreExactAndNothingWraps) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  const std::pair<const char*, std::optional<std::int64_t>> texts[] = {
      {"922337203685477.5807", kMax},          {"-922337203685477.5808", kMin},
      {"00000000000000000000001.5", 15000},    {"922337203685477.5808", std::nullopt},
      {"922337203685477.58075", std::nullopt}, {"-922337203685477.58086", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& [text, raw] : texts) {
    SCOPED_TRACE(text);
    if (raw) {
      EXPECT_EQ(Currency::FromText(text).raw(), *raw);
    } else {
      EXPECT_TRUE(Overflows([&] { Currency::FromText(text); }));
    }
  }
  const Currency half = Currency::FromText("500000000000000.00");
  EXPECT_TRUE(Overflows([&] { return half + half + half; }));
  EXPECT_TRUE(Overflows([&] { return Currency::FromRaw(kMin) - Currency::FromRaw(1); }));
  EXPECT_TRUE(Overflows([&] { return Currency::FromDouble(1e15); }));
  EXPECT_TRUE(Overflows([&] { return Currency::FromUnits(kMax / 1000); }));
  EXPECT_EQ(Currency::FromRaw(kMax) + Currency::FromRaw(kMin), Currency::FromRaw(-1));
  EXPECT_EQ(Currency::FromRaw(kMin).magnitude(), std::uint64_t{1} << 63);
  EXPECT_EQ(TextToSingle("340282346638528859811704183484516925440"),
            std::numeric_limits<float>::max());
  EXPECT_TRUE(Overflows([&] { TextToSingle("340282400000000000000000000000000000000"); }));
}

}  // namespace
}  // namespace wcomp837
