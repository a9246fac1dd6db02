// The message list as the host reads it through GetAMessage.
#include "host_fixture.h"
#include "state/messages.h"

namespace wcomp837::testing {
namespace {

TEST_F(HostTest, EmptyListAndOutOfRangeIndicesAnswerEnd) {
  for (std::int32_t i : {1, 0, -1, 11, 2147483647}) EXPECT_EQ(fc->GetAMessage(i), "END") << i;
}

TEST_F(HostTest, SelfDescriptionRowsInOrderAndListGrowsByTen) {
  EXPECT_EQ(fc->HereIsAMessage("BCM-1", ""), 1);
  const std::vector<std::string> expected = {
      " 1//BCM//0005//1306.4.1//",
      " 1//BCM//0010//E~Workers COMP Prof.837 (ANSI 4010 A1)~0~0~A//",
      " 1//BCM//0020//1603~Billing Code~Field 2~Field 3~Field 4~Field 5//",
      " 1//BCM//0020//1604~Billing ID~CLIA #~FDA Certification #~Field 4~Field 5//",
      " 1//BCM//0020//1605~Payor Org #~Field 2~Cmplmnt.Xover (Y/N)~Field 4~Field 5//",
      " 1//BCM//0020//1606~Billing Code~Field 2~Field 3~Field 4~Field 5//",
      " 1//BCM//0020//1608~Billing Code~Field 2~Field 3~Field 4~Field 5//",
      " 1//BCM//0020//1609~Billing ID~Default Clia#~Provider Taxonomy Code~Field 4~Field 5//",
      " 1//BCM//0020//1610~Billing Code (CPT4)~Extra Modifiers~Field 3~Field 4~Mammography "
      "Procedure? (Y/N)//",
      " 1//BCM//0020//1611~Billing ID~Provider Taxonomy Code~Field 3~Field 4~Field 5//",
      " 1//BCM//0020//1612~Billing ID~Provider Taxonomy Code~Field 3~Field 4~Field 5//",
      " 1//BCM//0020//1613~Billing Code~Field 2~Field 3~Field 4~Field 5//",
  };
  EXPECT_EQ(Messages(), expected);
  // Asking again gives the same text: "//" is appended only once.
  EXPECT_EQ(fc->GetAMessage(1), expected[0]);
  EXPECT_EQ(fc->GetAMessage(13), "END");
  EXPECT_EQ(Host().gMessageArray.size(), 21u);  // 20 slots, 1-based

  // Emptying keeps the grown capacity.
  EXPECT_EQ(fc->HereIsAMessage("1", dir.path()), 0);
  EXPECT_EQ(fc->GetAMessage(1), "END");
  EXPECT_EQ(Host().gMessageArray.size(), 21u);
}

TEST(MessageText, TrailingSeparatorRule) {
  HostState h;
  AddToMessageArray(h, kMsgInfo, "TOTALCLAIMS//4//");
  AddToMessageArray(h, kMsgError, "X");
  AddToMessageArray(h, kMsgError, "ab");
  EXPECT_EQ(GetAMessageText(h, 1), " 1//TOTALCLAIMS//4//");  // already ends with "//"
  EXPECT_EQ(GetAMessageText(h, 2), " 3//X");                 // too short to extend
  EXPECT_EQ(GetAMessageText(h, 3), " 3//ab//");
  EXPECT_EQ(GetAMessageText(h, 4), "END");
  EXPECT_EQ(HighestMessageType(h), 3);
}

}  // namespace
}  // namespace wcomp837::testing
