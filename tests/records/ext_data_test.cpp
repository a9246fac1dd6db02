// Extended-data records and their merge at the end of a charge.
#include "records/parsers.h"
#include "records_fixture.h"

namespace wcomp837::testing {
namespace {

using ExtDataTest = RecordsTest;

TEST_F(ExtDataTest, PacksKeysAndValues) {
  ExtDataRec ext{"OLD", "OLD"};
  const std::pair<const char*, const char*> cases[] = {
      {"6010//K1//V1//K2//V2", "~K1V1~K2V2~"},
      {"6010", ""},
      {"6010//20010ABC//val//K3", "~20010val~K3~"},  // keys cut to five; a last key alone
      {"6010//K1//.//K2//", "~K1~K2~"}};
  for (const auto& [text, packed] : cases) {
    ASSERT_EQ(ParseExtDataRec(c(), text, ext), 0);
    EXPECT_EQ(ext[ExtData::sRecordTag], "6010");
    EXPECT_EQ(ext[ExtData::sExtData], packed);
  }
  std::string huge = "T";
  for (int i = 0; i < 40000; ++i) huge += "//K";
  EXPECT_EQ(ParseExtDataRec(c(), huge, ext), 3);
  EXPECT_EQ(MessageText(1), g().host.gsDllName + " ParseExtDataRec()  Error:  6 Overflow");
}

TEST_F(ExtDataTest, Append26MergesFirstSetAndClaimLevelIntoSecondSet) {
  ChargeGroup& grp = g().g_ThisGroup;
  TopRecords& top = g().g_ThisTop;
  grp.SecondSet(1)[1] = "~S1a~";
  grp.FirstSet(1)[1] = "~F1a~F1b~";
  top.ExtData[0][1] = "~T1a~";
  grp.FirstSet(3)[1] = "~F3a~";
  top.ExtData[4][1] = "~T5a~";
  grp.SecondSet(4)[1] = "~S4a~";

  ASSERT_EQ(Append26ExtData(c()), 0);
  EXPECT_EQ(grp.SecondSet(1)[1], "~S1a~F1a~F1b~T1a~");
  EXPECT_EQ(grp.SecondSet(2)[1], "");  // nothing anywhere: stays empty
  EXPECT_EQ(grp.SecondSet(3)[1], "~F3a~");
  EXPECT_EQ(grp.SecondSet(4)[1], "~S4a~");
  EXPECT_EQ(grp.SecondSet(5)[1], "~T5a~");
  EXPECT_EQ(grp.FirstSet(1)[1] + top.ExtData[0][1], "~F1a~F1b~~T1a~");  // sources unchanged
}

}  // namespace
}  // namespace wcomp837::testing
