#include <gtest/gtest.h>

#include "records/parsers.h"
#include "wcomp837/failure.h"

namespace wcomp837 {
namespace {

using V = std::vector<std::string>;

V Split(const std::string& text, const std::string& delimiter = "//") {
  V fields;
  SplitFields(text, fields, delimiter);
  return fields;
}

TEST(SplitFields, CutsOnTheDelimiterAndCleansEachField) {
  EXPECT_EQ(Split("A// B //."), (V{"A", " B", ""}));
  EXPECT_EQ(Split("A//B//"), (V{"A", "B"}));  // a trailing delimiter adds nothing
  EXPECT_EQ(Split("A////B"), (V{"A", "", "B"}));
  EXPECT_EQ(Split("//"), (V{""}));
  EXPECT_EQ(Split("A/B///C"), (V{"A/B", "/C"}));
  EXPECT_EQ(Split("x\t "), (V{"x\t"}));  // only blanks are cut
  EXPECT_EQ(Split("...//. .//.5//5.//.  //a.b"), (V{"", "", ".5", "5.", "", "a.b"}));
  EXPECT_EQ(Split("A;B;;C", ";"), (V{"A", "B", "", "C"}));
}

TEST(SplitFields, EmptyTextOrDelimiter) {
  V fields{"old0", "old1"};
  SplitFields("", fields, "//");
  EXPECT_EQ(fields, (V{"old0"}));  // element 0 keeps its old value
  SplitFields("A//B", fields, "");
  EXPECT_EQ(fields, (V{"old0"}));  // no delimiter: untouched
}

TEST(SplitFields, AtMost32767Fields) {
  std::string text = "X";
  for (int i = 1; i < 32767; ++i) text += "//X";
  EXPECT_EQ(Split(text).size(), 32767u);
  try {
    Split(text + "//X");
    FAIL() << "expected the overflow failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number, 6);
  }
}

}  // namespace
}  // namespace wcomp837
