// The companion records of a charge: providers, referrals, facility, other
// insurances and chiropractic details.
#include "records/parsers.h"
#include "records_fixture.h"

namespace wcomp837::testing {
namespace {

using GroupRecordsTest = RecordsTest;

TEST_F(GroupRecordsTest, PersonRecordsDropGenderAndOptionalMembers) {
  ChargeGroup& grp = g().g_ThisGroup;
  grp.SProvider.fill("OLD");
  ASSERT_EQ(
      ParseSProviderRec(c(), Record(32, {{3, "Anne-Marie"}, {5, "j."}, {9, ""}}), grp.SProvider),
      0);
  for (std::size_t m = 32; m <= 35; ++m) EXPECT_EQ(grp.SProvider[m], "") << m;
  EXPECT_EQ(grp.SProvider[SProvider::sFirstName] + grp.SProvider[SProvider::sMiddleName],
            "ANNEMARIEj.");
  EXPECT_EQ(grp.SProvider[SProvider::sGender] + grp.SProvider[SProvider::sGenderDesc], "UUNKNOWN");

  ASSERT_EQ(ParseOProviderRec(c(), Record(46), grp.OProvider), 0);
  ASSERT_EQ(ParseReferralRec(c(), Record(44), grp.Referral), 0);
  ASSERT_EQ(ParseOReferralRec(c(), Record(46), grp.OReferral), 0);
  EXPECT_EQ(grp.SProvider[27] + grp.OProvider[33] + grp.Referral[31] + grp.OReferral[33], "");
  EXPECT_EQ(grp.OReferral[32] + grp.OReferral[34], "F32F34");
}

TEST_F(GroupRecordsTest, KeptBlocksOfOtherProviderAndReferral) {
  OProviderRec& op = g().g_ThisGroup.OProvider;
  ReferralRec& rf = g().g_ThisGroup.Referral;
  op.fill("OLD");
  rf.fill("OLD");
  ASSERT_EQ(ParseOProviderRec(c(), Record(42), op), 0);
  ASSERT_EQ(ParseReferralRec(c(), Record(40), rf), 0);
  EXPECT_EQ(op[41] + op[42] + op[44] + "|" + op[OProvider::sCountry], "F41OLDOLD|");
  EXPECT_EQ(rf[39] + rf[Referral::sEntityType] + rf[42] + "|" + rf[43], "F39OLDOLD|");
  ASSERT_EQ(ParseReferralRec(c(), Record(43), rf), 0);
  EXPECT_EQ(rf[Referral::sEntityType], "F40");
}

TEST_F(GroupRecordsTest, FacilityOptionalMembers) {
  FacilityRec& fac = g().g_ThisGroup.Facility;
  fac.fill("OLD");
  ASSERT_EQ(ParseFacilityRec(c(), Record(18, {{3, "St. Mary's"}}), fac), 0);
  EXPECT_EQ(fac[Facility::sNPI] + fac[Facility::sCountry] + fac[20], "");
  EXPECT_EQ(fac[Facility::sName], "ST. MARYS");
  ASSERT_EQ(ParseFacilityRec(c(), Record(21, {{19, "GERMANY"}, {20, "GERMANY"}}), fac), 0);
  EXPECT_EQ(fac[Facility::sNPI] + fac[Facility::sCountry] + fac[20], "F18DEGERMANY");
}

TEST_F(GroupRecordsTest, OtherInsuranceFollowFlagPayerIdAndDefaults) {
  g().g_ThisGroup.Charge[Charge::sCodePart2] = "FOLLOWCODE";
  OInsuranceRec& oi = g().g_ThisGroup.OIns[1];
  oi.fill("OLD");
  ASSERT_EQ(ParseOInsuranceRec(c(), Record(70, {{52, "MCR"}, {26, "FEMALE"}}), oi, 0), 0);
  EXPECT_FALSE(g().ThisFollowed);
  EXPECT_EQ(oi[OInsurance::sGender] + oi[27], "UF27");  // no gender text member
  for (std::size_t m = 70; m <= 79; ++m) EXPECT_EQ(oi[m], "") << m;

  OpenTestLog();
  const Edits edits = {{2, ""}, {52, "MCA"}, {74, "PAYER1/REF"}, {77, "CANADA"}, {78, "2.0"}};
  ASSERT_EQ(ParseOInsuranceRec(c(), Record(79, edits), oi, 0), 0);
  EXPECT_NE(CloseTestLog().find("\"ParseOIns  This-followed is now True\"\r\n"), std::string::npos);
  EXPECT_TRUE(g().ThisFollowed);
  EXPECT_EQ(g().ThisFollowedCode, "FOLLOWCODE");
  EXPECT_EQ(oi[OInsurance::sPayerId] + "|" + oi[74] + "|" + oi[79], "PAYER1|PAYER1|REF");
  EXPECT_EQ(oi[OInsurance::sCountry] + oi[OInsurance::sCountry2], "CACA");

  g().ThisFollowed = false;
  ASSERT_EQ(ParseOInsuranceRec(c(), Record(75, {{2, "own-id"}, {52, "mca"}}), oi, 0), 0);
  EXPECT_FALSE(g().ThisFollowed);
  EXPECT_EQ(oi[OInsurance::sPayerId], "OWNID");
}

}  // namespace
}  // namespace wcomp837::testing
