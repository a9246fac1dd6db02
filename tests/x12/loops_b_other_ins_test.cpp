// Loops 2320, 2330A and 2330B and the CAS segments of adjustment texts.
#include "loops_b_fixture.h"

namespace wcomp837 {
namespace {

using Strings = std::vector<std::string>;

class OtherInsuranceLoops : public LoopsBTest {
 protected:
  InsInfo& ClaimInsurance(std::int16_t n) {
    InsInfo& info = g_->claim.mClaim.oClaimInsInfo.GetInsInfo(n);
    info.bUsed = true;
    return info;
  }
};

TEST_F(OtherInsuranceLoops, CasGroupsAdjustmentsByGroupCode) {
  auto cas = [this](const std::string& codes) {
    EXPECT_EQ(DumpThePaymentAdjCodes(c_, codes), 0);
    return Segments();
  };
  EXPECT_EQ(cas("CO|45|12.50|1|CO|42|3|0|PR|1|20|1"),
            (Strings{"CAS*CO*45*12.5*1*42*3*0", "CAS*PR*1*20*1"}));
  EXPECT_EQ(cas("CO|1|1|1|PR|2|2|1|CO|3|3|1"),
            (Strings{"CAS*CO*1*1*1", "CAS*PR*2*2*1", "CAS*CO*3*3*1"}));
  // A segment holds six adjustments; below one loses the leading zero and a
  // zero amount is still sent, as CAS requires one with every reason.
  EXPECT_EQ(cas("CO|1|0.50|1|CO|2|0|1|CO|3|3|1|CO|4|4|1|CO|5|5|1|CO|6|6|1|CO|7|-7.10|"),
            (Strings{"CAS*CO*1*.5*1*2*0*1*3*3*1*4*4*1*5*5*1*6*6*1", "CAS*CO*7*-7.1"}));
  EXPECT_EQ(cas(""), Strings{});
  EXPECT_EQ(cas("C*O|4~5|1|1"), Strings{"CAS*CO*45*1*1"});  // separators in values go
  EXPECT_EQ(g_->writer.SegmentCount, 8);
}

TEST_F(OtherInsuranceLoops, SecondaryClaimWithItsPrimary) {
  BillTo("2");
  OInsuranceRec& oi = OtherInsurance(1);
  Set(oi, {{OInsurance::sGroupNr, "GRP123"},
           {OInsurance::sBenefitsAssignment, "1"},
           {OInsurance::sSignatureOnFile, "1"},
           {OInsurance::sMiddleName, "QUINN"},
           {OInsurance::sSuffix, "JR"},
           {OInsurance::sAddress1, "12 MAIN ST"},
           {OInsurance::sAddress2, "APT 4"},
           {OInsurance::sCity, "SPRINGFIELD"},
           {OInsurance::sState, "IL"},
           {OInsurance::sZip, "62701"},
           {OInsurance::sLastPaymentDate, "02102023"}});
  InsInfo& info = ClaimInsurance(1);
  info.curAmtPayerPaid = Currency::FromUnits(40);
  info.curAmtAllowed = Currency::FromText("80.50");
  info.sPaymentAdjCodes = "CO|45|20|1";

  ASSERT_EQ(WriteOtherInsurances(c_), 0);
  EXPECT_EQ(Segments(),
            (Strings{"SBR*P*18*GRP123**C1****CI", "CAS*CO*45*20*1", "AMT*D*40", "AMT*B6*80.5",
                     "DMG*D8*19700402*F", "OI***Y*B**Y", "NM1*IL*1*DOE*JANE*Q**JR*MI*M1",
                     "N3*12 MAIN ST*APT 4", "N4*SPRINGFIELD*IL*62701",
                     "NM1*PR*2*PAYER NUMBER 1*****PI*PAYER1", "DTP*573*D8*20230210"}));
  EXPECT_EQ(g_->writer.SegmentCount, 11);
}

TEST_F(OtherInsuranceLoops, OnlyReceivedAndUsedInsurancesInOrder) {
  BillTo("2");
  g_->g_LastGroup().Charge[Charge::sToDate] = "01202023";
  OtherInsurance(1);
  ClaimInsurance(1);
  OtherInsurance(3);
  ClaimInsurance(3).curAmtPayerPaid = Currency::FromUnits(5);
  OtherInsurance(4);  // received but used on no line
  ClaimInsurance(2);  // the billed insurance: used, but no record

  // Only the payer before the billed one has paid (AMT*D) and has a payment
  // date (here the service to-date); only the first gets B6.
  ASSERT_EQ(WriteOtherInsurances(c_), 0);
  EXPECT_EQ(
      Segments(),
      (Strings{"SBR*P*18***C1****CI", "AMT*D*0", "AMT*B6*0", "DMG*D8*19700402*F", "OI***N***N",
               "NM1*IL*1*DOE*JANE****MI*M1", "NM1*PR*2*PAYER NUMBER 1*****PI*PAYER1",
               "DTP*573*D8*20230120", "SBR*T*18***C1****CI", "DMG*D8*19700402*F", "OI***N***N",
               "NM1*IL*1*DOE*JANE****MI*M3", "NM1*PR*2*PAYER NUMBER 3*****PI*PAYER3"}));
}

TEST_F(OtherInsuranceLoops, FallbacksForMissingAndForeignValues) {
  BillTo("1");
  OInsuranceRec& oi = OtherInsurance(1);
  Set(oi, {{OInsurance::sBirthDate, ""},
           {OInsurance::sGender, "U"},
           {OInsurance::sMemberIdPart1, ""},
           {OInsurance::sMemberIdPart2, ""},
           {OInsurance::sPayerId, ""},
           {OInsurance::sLastName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGH IJK"},
           {OInsurance::sCity, "TORONTO"},
           {OInsurance::sState, "ON"},
           {OInsurance::sZip, "M5V2T6"}});
  ClaimInsurance(1);

  ASSERT_EQ(WriteOtherInsurances(c_), 0);
  EXPECT_EQ(Segments(),
            (Strings{"SBR*P*18***C1****CI", "AMT*B6*0", "DMG*D8*00000000*U", "OI***N***N",
                     "NM1*IL*1*ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGH*JANE", "N4*TORONTO*ON*M5V2T6*CA",
                     "NM1*PR*2*PAYER NUMBER 1*****PI*00000"}));
}

}  // namespace
}  // namespace wcomp837
