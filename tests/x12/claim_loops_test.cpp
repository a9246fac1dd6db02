// The claim's loops: subscriber (2000B, 2010BA), payer (2010BB), patient
// (2000C, 2010CA), claim information (2300), claim providers (2310A-E), other
// payers (2320-2330B) with their CAS segments and service lines (2400, 2410,
// 2430). The reviewed batches under tests/batches/ pin the common cases and
// the variants of loop_variants; these are the defaults and variants they do
// not show.
#include <algorithm>

#include "x12/loops_claim.h"
#include "x12_fixture.h"

namespace wcomp837::testing {
namespace {

// One primary workers' compensation claim of a self-insured patient with two
// diagnoses; each case changes what it needs.
class ClaimLoops : public LoopsTest {
 protected:
  void SetUp() override {
    LoopsTest::SetUp();
    BillTo("1");
    Fill(top().Insurance, {{Insurance::sPayerId, "WC123"},
                           {Insurance::sPayerName, "STATE COMP"},
                           {Insurance::sInsuranceCategoryCd, "WCI"}});
    Fill(top().Subscriber, {{Subscriber::sPolicyNrPart1, "GRP"},
                            {Subscriber::sPolicyNrPart2, "001"},
                            {Subscriber::sRelationship, "SLF"},
                            {Subscriber::sFirstName, "JOHN"},
                            {Subscriber::sLastName, "DOE"},
                            {Subscriber::sBirthDate, "01021970"},
                            {Subscriber::sGender, "M"},
                            {Subscriber::sBenefitsAssignment, "1"},
                            {Subscriber::sSignatureOnFile, "1"}});
    Fill(top().Patient, {{Patient::sMemberId, "MEM1"},
                         {Patient::sAccountNr, "ACCT1"},
                         {Patient::sLastName, "DOE"},
                         {Patient::sFirstName, "JANE"}});
    top().Practice[Practice::sState] = "NY";
    top().CalcPref[1] = "1";
    top().CalcPref[CalcPref::sBillingOption] = "0";
    top().CalcPref[CalcPref::sBreakOnServicingProvider] = "0";  // no rendering provider loop
    Fill(charge(), {{Charge::sPOSCode, "11"}, {Charge::sIndicatorKeys, "~~"}});
    g.claim.mClaim.curTotalCharges = Currency::FromText("150.50");
    Diagnoses({"847.2", "724.2"});
  }
  void Diagnoses(const Strings& codes) {
    for (std::size_t k = 1; k < g.claim.gDiagArray.size(); ++k) {
      g.claim.gDiagArray[k].sCode = k <= codes.size() ? codes[k - 1] : "";
    }
  }
  template <std::size_t N>
  static void FillPerson(Rec<N>& rec, const std::string& tag, const std::string& last) {
    Fill(rec, {{0, tag},
               {Person::sProviderNr, "NR" + tag},
               {Person::sFirstName, "ANN"},
               {Person::sLastName, last},
               {Person::sMiddleName, "BETH"},
               {Person::sSuffix, "MD"}});
  }
  // A stretcher transport of 12.5 miles for reason A with condition 01.
  AmbulanceRec& Ambulance() {
    Fill(group().Ambulance, {{Ambulance::sCondition01, "1"},
                             {Ambulance::sDistance, "12.50"},
                             {Ambulance::sTransportReason, "A"},
                             {Ambulance::sRoundTripPurpose, "ROUND TRIP"},
                             {Ambulance::sStretcherPurpose, "STRETCHER"}});
    return group().Ambulance;
  }
  // Line 1 with drug 00002143380, two units of it.
  NDCInfo& Drug() {
    NDCInfo& drug = Line(1).oNDCInfo.GetNDCInfo(1);
    drug.sNDCCode = "00002143380";
    drug.sQuantity = "2.000";
    return drug;
  }
  Strings Written(const std::string& prefix = "") {
    EXPECT_EQ(Write_Detail_Records(c, 1), 0);
    return Segments(prefix);
  }
  // The segments of line 1 after its fixed start (LX, SV1, DTP*472).
  Strings AfterServiceDate() {
    const Strings s = Written();
    return s.size() < 3 ? s : Strings(s.begin() + 3, s.end());
  }
  Strings ProvidersWritten() {
    EXPECT_EQ(WriteClaimProviders(c), 0);
    EXPECT_TRUE(o.env.billing.sSecondaryIDQual.empty() && o.env.billing.sSecondaryID.empty())
        << "the scratch identifier is emptied after each loop";
    return Segments();
  }
};

// A drug of quantity only: no price, and the extended data's prescription
// number (the guide wants a unit price: the final check reports this claim).
TEST_F(ClaimLoops, DrugOfQuantityOnly) {
  Drug();
  DetailLine& line = g.claim.DETAILArray[1];
  line.Group->SecondSet(2)[ExtData::sExtData] = "~20010X~20001RXEXT~";
  line.Group->Charge[128] = "RXCHARGE";
  EXPECT_EQ(AfterServiceDate(), (Strings{"LIN**N4*00002143380", "CTP****2", "REF*XZ*RXEXT"}));
}

// Each loop writer stops at its first failed segment and reports its text.
TEST_F(ClaimLoops, FailedWriteStopsEachLoop) {
  Fill(group().Referral, {{0, "6120"}, {Person::sLastName, "SMITH"}});
  group().Facility[0] = "6200";
  Line(1);
  CloseASCIIout(c);
  const std::pair<std::int16_t (*)(const WriterCtx&), const char*> loops[] = {
      {WriteSubscriberName, "NM1*IL*1*DOE*JOHN****MI*MEM1"},
      {WriteClaimHeader, "CLM*ACCT1"},
      {WriteClaimProviders, "NM1*DN*1*SMITH"},
      {[](const WriterCtx& c) { return Write_Detail_Records(c, 1); }, "LX*1"}};
  for (const auto& [write, data] : loops) {
    g.writer.SegmentCount = 0;
    EXPECT_EQ(write(c), 3) << data;
    EXPECT_EQ(g.writer.SegmentCount, 1) << "nothing after the failed segment is tried";
    EXPECT_TRUE(HasError("The Data was: " + std::string(data)));
  }
  EXPECT_TRUE(o.env.billing.sSecondaryID.empty());
}

// No principal diagnosis, no HI; empty codes between others are skipped. An
// auto accident without any state leaves no empty components.
TEST_F(ClaimLoops, DiagnosesAndAnAccidentWithoutState) {
  Diagnoses({});
  ASSERT_EQ(WriteClaimHeader(c), 0);
  EXPECT_TRUE(Segments("HI").empty());
  Diagnoses({"1.2", "", "3.4"});
  Fill(charge(), {{Charge::sOnsetType, "MTR"}});
  top().Practice[Practice::sState] = "";
  ASSERT_EQ(WriteClaimHeader(c), 0);
  const Strings s = Segments();
  EXPECT_EQ(s[0], "CLM*ACCT1*150.5***11::1*Y*A*Y*Y*B*AA");
  EXPECT_NE(std::find(s.begin(), s.end(), "HI*BK:12*BF:34"), s.end());
}

// Practice billing without a billing provider record names no rendering
// provider (the batches pin the billing options).
TEST_F(ClaimLoops, NoRenderingProviderWithoutTheBillingProviderRecord) {
  FillPerson(group().SProvider, "6100", "BROWN");
  Fill(top().CalcPref,
       {{CalcPref::sBillingOption, "0"}, {CalcPref::sBreakOnServicingProvider, "1"}});
  EXPECT_TRUE(ProvidersWritten().empty());
}

TEST_F(ClaimLoops, TaxonomyCodeChoices) {
  Fill(group().SProvider, {{28, "SPPAYER"}, {33, ""}});
  top().Insurance[26] = "INSPROV";
  top().Practice[Practice::sTaxonomyCode] = "PRACTICE";
  EXPECT_EQ(GetTaxonomyCode(c, "1", true), "SPPAYER");
  EXPECT_EQ(GetTaxonomyCode(c, "1", false), "PRACTICE");
  group().SProvider[28] = "";
  EXPECT_EQ(GetTaxonomyCode(c, "1", true), "INSPROV");
  top().BProvider[BProvider::sTaxonomyCode] = "BPOWN";
  EXPECT_EQ(GetTaxonomyCode(c, "2", true), "BPOWN");
  top().Insurance[29] = "INSBILL";
  EXPECT_EQ(GetTaxonomyCode(c, "2", true), "INSBILL");
  group().OProvider[OProvider::sTaxonomyCode] = "OPPAYER";
  group().OProvider[OProvider::sTaxonomyCode2] = "OPOWN";
  EXPECT_EQ(GetTaxonomyCode(c, "4", true), "OPPAYER");
  EXPECT_EQ(GetTaxonomyCode(c, "4", false), "OPOWN");
  group().OReferral[OReferral::sTaxonomyCode2] = "OROWN";
  EXPECT_EQ(GetTaxonomyCode(c, "5", true), "OROWN");
  EXPECT_EQ(GetTaxonomyCode(c, "6", true), "");
}

TEST_F(ClaimLoops, PlainLineAndLinesNotWritten) {
  DetailLine& line = Line(1);
  line.sLineControlNr = "  0001A0000011MAINS ";
  line.sToDate = "";  // no range with one end missing
  EXPECT_EQ(Written(), (Strings{"LX*1", "SV1*HC:99213*100*UN*1***1", "DTP*472*D8*20230115",
                                "REF*6R*0001A0000011MAINS"}));
  EXPECT_EQ(o.env.miLinesWritten, 1);
  EXPECT_EQ(g.writer.SegmentCount, 4);
  line.sUsed = "N";
  for (std::int16_t index : {1, 0, -3, 21, 32767}) EXPECT_EQ(Write_Detail_Records(c, index), 0);
  EXPECT_EQ(Segments(), Strings{});
  EXPECT_EQ(o.env.miLinesWritten, 1);
  EXPECT_EQ(Do_SV1_Record(c, 0), 3);  // the table's slot 0 is no line
  EXPECT_TRUE(HasError(" Do_SV1_Record()  9 Subscript out of range"));
}

TEST_F(ClaimLoops, Sv1Elements) {
  DetailLine& line = Line(1);
  line.sProcedureCode = "992*13~";  // separators in a value would split the segment
  line.sModifier1 = "25";
  line.sModifier3 = "59";  // a missing modifier leaves no empty component
  line.curCharge = Currency::FromText("1250.50");
  line.sngUnits = 2.5f;
  line.sPlaceOfService = "21";
  line.iDiagPointer = {1, 2, 0, 4, 5};
  line.sEmergency = line.sEPSDT = line.sFamilyPlanning = "Y";
  EXPECT_EQ(Written("SV1"), Strings{"SV1*HC:99213:25:59*1250.5*UN*2.5*21**1:2:4**Y**Y*Y"});
  // Pointers never begin with an empty component; small amounts lose the zero.
  Line(1);
  line.iDiagPointer = {0, 2, 3, 0, 0};
  line.curCharge = Currency::FromText("0.50");
  EXPECT_EQ(Written("SV1"), Strings{"SV1*HC:99213*.5*UN*1***2:3"});
  // Minutes when both times are present, units otherwise.
  Line(1);
  line.sStartTime = "2330";
  line.sEndTime = "0015";
  EXPECT_EQ(Written("SV1"), Strings{"SV1*HC:99213*100*MJ*45***1"});
  line.sEndTime = "";
  line.sngUnits = 0.0f;
  EXPECT_EQ(Written("SV1"), Strings{"SV1*HC:99213*100*UN*0***1"});

  const struct {
    const char *start, *end;
    std::int32_t minutes;
  } times[] = {{"0900", "1030", 90}, {"2330", "0015", 45}, {"1030", "1000", 0},
               {"08", "0930", 90},   {"", "", 0},          {"XXXX", "0100", 60}};
  for (const auto& t : times)
    EXPECT_EQ(GetMinutes(t.start, t.end), t.minutes) << t.start << "-" << t.end;
}

TEST_F(ClaimLoops, OnlyReceivedPriorPayersAreAdjudicated) {
  DetailLine& line = Line(1);
  line.Group->OIns[2] = OtherInsurance(2);
  EXPECT_EQ(AfterServiceDate(), Strings{});  // a primary claim has no prior payer
  BillTo("3");
  line.Group->OIns[1] = OtherInsurance(1);
  group().OIns[1] = OInsuranceRec{};  // the line's copy alone does not count
  line.oInsInfo.GetInsInfo(2).sPaymentAdjCodes = "PR|1|5|1";
  EXPECT_EQ(AfterServiceDate(), (Strings{"AMT*AAE*0", "SVD*PAYER2*0*HC:99213**1", "CAS*PR*1*5*1",
                                         "DTP*573*D8*20230115"}));
}

TEST_F(ClaimLoops, CasGroupsAdjustmentsByGroupCode) {
  const std::pair<std::string, Strings> cases[] = {
      {"CO|45|12.50|1|CO|42|3|0|PR|1|20|1", {"CAS*CO*45*12.5*1*42*3*0", "CAS*PR*1*20*1"}},
      {"CO|1|1|1|PR|2|2|1|CO|3|3|1", {"CAS*CO*1*1*1", "CAS*PR*2*2*1", "CAS*CO*3*3*1"}},
      // A segment holds six adjustments; below one loses the leading zero and
      // a zero amount is still sent, as CAS requires one with every reason.
      {"CO|1|0.50|1|CO|2|0|1|CO|3|3|1|CO|4|4|1|CO|5|5|1|CO|6|6|1|CO|7|-7.10|",
       {"CAS*CO*1*.5*1*2*0*1*3*3*1*4*4*1*5*5*1*6*6*1", "CAS*CO*7*-7.1"}},
      {"", {}},
      {"C*O|4~5|1|1", {"CAS*CO*45*1*1"}},  // separators in values go
  };
  for (const auto& [codes, expected] : cases) {
    EXPECT_EQ(DumpThePaymentAdjCodes(c, codes), 0);
    EXPECT_EQ(g.writer.SegmentCount, static_cast<std::int64_t>(expected.size())) << codes;
    g.writer.SegmentCount = 0;
    EXPECT_EQ(Segments(), expected) << codes;
  }
}

TEST_F(ClaimLoops, OnlyReceivedAndUsedInsurancesInOrder) {
  BillTo("2");
  charge()[Charge::sToDate] = "01202023";
  OtherInsurance(1);
  ClaimInsurance(1);
  OtherInsurance(3);
  ClaimInsurance(3).curAmtPayerPaid = Currency::FromUnits(5);
  OtherInsurance(4);  // received but used on no line
  ClaimInsurance(2);  // the billed insurance: used, but no record
  // Only the payer before the billed one has paid (AMT*D) and has a payment
  // date (here the service to-date); only the first gets B6.
  ASSERT_EQ(WriteOtherInsurances(c), 0);
  EXPECT_EQ(
      Segments(),
      (Strings{"SBR*P*18***C1****CI", "AMT*D*0", "AMT*B6*0", "DMG*D8*19700402*F", "OI***N***N",
               "NM1*IL*1*DOE*JANE****MI*M1", "NM1*PR*2*PAYER NUMBER 1*****PI*PAYER1",
               "DTP*573*D8*20230120", "SBR*T*18***C1****CI", "DMG*D8*19700402*F", "OI***N***N",
               "NM1*IL*1*DOE*JANE****MI*M3", "NM1*PR*2*PAYER NUMBER 3*****PI*PAYER3"}));
}

}  // namespace
}  // namespace wcomp837::testing
