// Loops 2410 (drug identification) and 2430 (line adjudication) of a
// service line, and the _NAC.Dat record of a prior payer without codes.
#include "loops_b_fixture.h"

namespace wcomp837 {
namespace {

using Strings = std::vector<std::string>;

class LineDrugAndPayerLoops : public LoopsBTest {
 protected:
  // The segments of line 1 after its fixed start (LX, SV1, DTP*472).
  Strings AfterServiceDate() {
    EXPECT_EQ(Write_Detail_Records(c_, 1), 0);
    Strings s = Segments();
    return s.size() < 3 ? s : Strings(s.begin() + 3, s.end());
  }
};

TEST_F(LineDrugAndPayerLoops, DrugsFromTheLineList) {
  BillTo("1");
  DetailLine& line = Line(1);
  NDCInfo& first = line.oNDCInfo.GetNDCInfo(1);
  first.sNDCCode = "00002143380";
  first.sUnitPrice = "12.50";
  first.sQuantity = "2.000";
  first.sMeasurement = "UN";
  first.sPrescriptionNr = "RX1";
  line.oNDCInfo.GetNDCInfo(2).sPrescriptionNr = "NO CODE: NOT SENT";
  line.oNDCInfo.GetNDCInfo(3).sNDCCode = "11111111111";
  line.Group->ExtData[1][ExtData::sExtData] = "~20010X~20001RXEXT~";  // RX1 suppresses it
  EXPECT_EQ(AfterServiceDate(), (Strings{"LIN**N4*00002143380", "CTP***12.5*2*UN", "REF*XZ*RX1",
                                         "LIN**N4*11111111111"}));

  // Without a prescription in the list, the extended data's follows.
  first.sPrescriptionNr = first.sUnitPrice = first.sMeasurement = "";
  line.oNDCInfo.GetNDCInfo(3).sNDCCode = "";
  line.Group->Charge[128] = "RXCHARGE";
  EXPECT_EQ(AfterServiceDate(), (Strings{"LIN**N4*00002143380", "CTP****2", "REF*XZ*RXEXT"}));
}

TEST_F(LineDrugAndPayerLoops, DrugsFromTheNarrativeOrTheCharge) {
  BillTo("1");
  DetailLine& line = Line(1);
  line.sNarrativeNDC[1] = "22222222222";
  line.sNarrativeNDC[3] = "33333333333";
  line.Group->Charge[8] = "44444444444";
  line.Group->Charge[128] = "RXCHARGE";
  EXPECT_EQ(AfterServiceDate(), (Strings{"LIN**N4*22222222222", "LIN**N4*33333333333"}));

  line.sNarrativeNDC[1] = "";
  Set(line.Group->Charge, {{125, "3"}, {126, "ML"}, {127, "4.25"}});
  EXPECT_EQ(AfterServiceDate(),
            (Strings{"LIN**N4*44444444444", "CTP***4.25*3*ML", "REF*XZ*RXCHARGE"}));

  // A prescription number needs a drug code to belong to.
  line.Group->Charge[8] = "";
  EXPECT_EQ(AfterServiceDate(), Strings{});
}

TEST_F(LineDrugAndPayerLoops, TertiaryLineAdjudicatedByBothPriorPayers) {
  BillTo("3");
  ASSERT_EQ(OpenNACFileOut(c_), 0);
  PatientRec& patient = g_->g_LastTop.Patient;
  Set(patient, {{Patient::sAccountNr, " A100 "},
                {Patient::sLastName, "DOE"},
                {Patient::sFirstName, "JOHN"}});
  OtherInsurance(1);
  OtherInsurance(2);
  OtherInsurance(4);  // after the billed insurance: not a prior payer
  DetailLine& line = Line(1);
  line.sModifier2 = "25";
  line.Group->Charge[5] = "99213X";
  line.Group->OIns[1] = g_->g_LastGroup().OIns[1];
  line.Group->OIns[1][OInsurance::sLastPaymentDate] = "02012023";
  line.Group->OIns[2] = g_->g_LastGroup().OIns[2];
  line.Group->OIns[2][OInsurance::sPayerId] = "";
  InsInfo& paid1 = line.oInsInfo.GetInsInfo(1);
  paid1.curAmtPayerPaid = Currency::FromUnits(60);
  paid1.curAmtAllowed = Currency::FromUnits(80);
  paid1.sPaymentAdjCodes = "CO|45|20|1";
  line.oInsInfo.GetInsInfo(2).curAmtPayerPaid = Currency::FromText("0.75");

  EXPECT_EQ(AfterServiceDate(), (Strings{"AMT*AAE*80", "SVD*PAYER1*60*HC:99213:25**1",
                                         "CAS*CO*45*20*1", "DTP*573*D8*20230201",
                                         "SVD*00000*.75*HC:99213:25**1", "DTP*573*D8*20230115"}));

  // Payer 2 sent no adjustment codes: the line is listed.
  ASSERT_EQ(CloseNACFile(c_), 0);
  std::string record(85, ' ');
  record.replace(0, 14, "A100 DOE, JOHN");
  record.replace(49, 8, "01152023");
  record.replace(59, 5, "99213");
  record.replace(67, 4, "INS2");
  EXPECT_EQ(testing::ReadFile(NACFileName(g_->host)), "\"" + record + "\"\r\n");
}

TEST_F(LineDrugAndPayerLoops, OnlyReceivedPriorPayersAreAdjudicated) {
  BillTo("1");
  DetailLine& line = Line(1);
  line.Group->OIns[2] = OtherInsurance(2);
  EXPECT_EQ(AfterServiceDate(), Strings{});  // a primary claim has no prior payer

  BillTo("3");
  line.Group->OIns[1] = OtherInsurance(1);
  g_->g_LastGroup().OIns[1] = OInsuranceRec{};  // the line's copy alone does not count
  line.oInsInfo.GetInsInfo(2).sPaymentAdjCodes = "PR|1|5|1";
  EXPECT_EQ(AfterServiceDate(), (Strings{"AMT*AAE*0", "SVD*PAYER2*0*HC:99213**1", "CAS*PR*1*5*1",
                                         "DTP*573*D8*20230115"}));
}

}  // namespace
}  // namespace wcomp837
