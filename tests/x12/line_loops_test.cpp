// A service line's loops 2400 (SV1 and the situational segments after it),
// 2410 (drugs) and 2430 (line adjudication), and the claim's other payers
// 2320, 2330A and 2330B with their CAS segments. The reviewed batches under
// tests/batches/ pin the common cases; these are the variants and limits.
#include "x12_fixture.h"

namespace wcomp837::testing {
namespace {

class LineLoops : public LoopsTest {
 protected:
  void SetUp() override {
    LoopsTest::SetUp();
    BillTo("1");
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
};

TEST_F(LineLoops, PlainLineAndLinesNotWritten) {
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
}

TEST_F(LineLoops, Sv1Elements) {
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

TEST_F(LineLoops, FailuresAreReported) {
  Components text;
  EXPECT_EQ(Do_SV1_Record(c, 0), 3);
  EXPECT_TRUE(HasError(" Do_SV1_Record()  9 Subscript out of range"));
  EXPECT_EQ(AppendProcedureAndModifiers(c, 999, text), 3);
  EXPECT_TRUE(HasError(" AppendProcedureAndModifiers()  9 "));
  Line(1);
  CloseASCIIout(c);
  EXPECT_EQ(Write_Detail_Records(c, 1), 3);
  EXPECT_TRUE(HasError("The Data was: LX*1"));
  EXPECT_EQ(g.writer.SegmentCount, 1);  // nothing after the failed LX
}

TEST_F(LineLoops, OnlyReceivedPriorPayersAreAdjudicated) {
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

TEST_F(LineLoops, CasGroupsAdjustmentsByGroupCode) {
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

TEST_F(LineLoops, OnlyReceivedAndUsedInsurancesInOrder) {
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
