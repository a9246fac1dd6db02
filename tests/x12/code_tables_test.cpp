// The translation tables from the host's codes to X12 code values.
#include "x12/code_tables.h"

#include <gtest/gtest.h>

#include "host/state.h"

namespace wcomp837 {
namespace {

TEST(CodeTables, ExactTablesAndTheirFallbacks) {
  EXPECT_TRUE(IsCanadianProvince("PQ"));
  EXPECT_TRUE(IsCanadianProvince("YT"));
  for (const char* code : {"QC", "NT", "NU", "NL", "pq", "", "ON "}) {
    EXPECT_FALSE(IsCanadianProvince(code)) << code;
  }
  EXPECT_EQ(RelationshipToX12("SLF"), "18");
  EXPECT_EQ(RelationshipToX12("HUS") + RelationshipToX12("WIF"), "0101");
  EXPECT_EQ(RelationshipToX12("BRO"), "19");
  EXPECT_EQ(RelationshipToX12("OTH"), "G8");
  for (const char* code : {"", "U", "ANT", "SIS", "slf", "SLFX"}) {
    EXPECT_EQ(RelationshipToX12(code), "21") << code;
  }
  EXPECT_EQ(ClaimFilingIndicator("WCI"), "WC");
  EXPECT_EQ(ClaimFilingIndicator("PPO"), "12");
  EXPECT_EQ(ClaimFilingIndicator(""), "ZZ");
  EXPECT_EQ(ClaimFilingIndicator("wci"), "ZZ");
  EXPECT_EQ(PayerProviderIDQualifier("BCS"), "1B");
  EXPECT_EQ(PayerProviderIDQualifier("OTH"), "G2");
  EXPECT_EQ(PayerProviderIDQualifier("WCI"), "");
  EXPECT_EQ(PayerProviderIDQualifier("GHP"), "");
}

TEST(CodeTables, KeyTablesFindKeysAnywhereInTableOrder) {
  EXPECT_EQ(MedicareSecondaryTypeCode("~MC16~~MC10~"), "12");
  EXPECT_EQ(MedicareSecondaryTypeCode("~X~~MC16~"), "43");
  EXPECT_EQ(MedicareSecondaryTypeCode("~MC12~MC10"), "");
  EXPECT_EQ(ServiceAuthExceptionCode("~SAEN~~SAEJ~"), "1");
  EXPECT_EQ(ServiceAuthExceptionCode("~saej~"), "");
  EXPECT_EQ(SpecialProgramCode("~EPSDTX~"), "01");
  EXPECT_EQ(SpecialProgramCode("~SAEN~~HCP~"), "02");
  EXPECT_EQ(SpecialProgramCode("~SAEN~"), "09");
}

TEST(CodeTables, OtherInsuranceTypes) {
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
  auto categories = [&](std::array<const char*, 4> cats) {
    for (std::size_t n = 1; n <= 4; ++n) {
      g.g_LastGroup().OIns[n][OInsurance::sInsuranceCategoryCd] = cats[n - 1];
    }
  };
  auto codes = [&] {
    std::string out;
    for (std::int16_t n = 0; n <= 5; ++n) out += OtherInsuranceTypeCode(c, n) + " ";
    return out;
  };
  categories({"MCR", "MCR", "CI", "MCR"});
  g.claim.mClaim.sClaimExtKeys = "~MC13~~MC12~";
  EXPECT_EQ(codes(), "SP MP CP C1 CP SP ");
  g.claim.mClaim.sClaimExtKeys = "~MC13~";
  EXPECT_EQ(codes(), "SP MP AP C1 AP SP ");
  g.claim.mClaim.sClaimExtKeys.clear();
  EXPECT_EQ(codes(), "SP MP MB C1 MB SP ");
  categories({"GHP", "HMO", "MCA", "OTH"});
  EXPECT_EQ(codes(), "SP GP HM MC OT SP ");
  categories({"WCI", "", "PPO", "mcr"});
  EXPECT_EQ(codes(), "SP SP SP SP SP SP ");

  // Blue Shield turns C1 when Medicare pays after it.
  categories({"BCS", "WCI", "MCR", "BCS"});
  EXPECT_EQ(codes(), "SP C1 SP MB SP SP ");
  g.g_LastTop.Insurance[Insurance::sInsuranceCategoryCd] = "MCR";
  g.g_LastGroup().Charge[Charge::sBillingInsIndex] = "4";
  EXPECT_EQ(OtherInsuranceTypeCode(c, 4), "SP") << "billed Medicare is not after 4";
  g.g_LastGroup().Charge[Charge::sBillingInsIndex] = "5";
  EXPECT_EQ(OtherInsuranceTypeCode(c, 4), "C1");
}

}  // namespace
}  // namespace wcomp837
