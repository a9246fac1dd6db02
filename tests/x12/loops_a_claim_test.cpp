// Loop 2300, claim information.
#include "loops_a_fixture.h"
#include "x12/loops.h"

namespace wcomp837 {
namespace {

using Texts = std::vector<std::string>;

class ClaimHeader : public LoopsATest {
 protected:
  void SetUp() override {
    LoopsATest::SetUp();
    top().Patient[Patient::sAccountNr] = "ACCT1";
    top().Practice[Practice::sState] = "NY";
    top().CalcPref[1] = "1";
    top().CalcPref[CalcPref::sBreakOnServicingProvider] = "0";  // no rendering provider loop
    top().Subscriber[Subscriber::sBenefitsAssignment] = "1";
    top().Subscriber[Subscriber::sSignatureOnFile] = "1";
    Fill(charge(), {{Charge::sPOSCode, "11"},
                    {Charge::sBillingInsIndex, "1"},
                    {Charge::sIndicatorKeys, "~~"}});
    g_->claim.mClaim.curTotalCharges = Currency::FromText("150.50");
    Diagnoses({"847.2", "724.2"});
  }

  void Diagnoses(const Texts& codes) {
    for (std::size_t k = 1; k < g_->claim.gDiagArray.size(); ++k) {
      g_->claim.gDiagArray[k].sCode = k <= codes.size() ? codes[k - 1] : "";
    }
  }

  // Onset type and date on the last charge and on line 1's copy of it.
  void Onset(const std::string& type, const std::string& date) {
    Fill(charge(), {{Charge::sOnsetType, type}, {Charge::sOnsetDate, date}});
    g_->claim.DETAILArray[1].Group->Charge[Charge::sOnsetDate] = date;
  }

  // Writes the header into a fresh claim file; the segments between CLM and HI.
  Texts Body() {
    EXPECT_EQ(OpenASCIIout(c_), 0);
    EXPECT_EQ(WriteClaimHeader(c_), 0);
    Texts segments = Segments();
    EXPECT_EQ(segments.back().substr(0, 3), "HI*");
    return Texts(segments.begin() + 1, segments.end() - 1);
  }
  Texts Write(const std::string& prefix) {
    EXPECT_EQ(WriteClaimHeader(c_), 0);
    return SegmentsStartingWith(prefix);
  }
};

TEST_F(ClaimHeader, ClaimSegmentAndDiagnoses) {
  EXPECT_EQ(WriteClaimHeader(c_), 0);
  EXPECT_EQ(Segments(), (Texts{"CLM*ACCT1*150.5***11::1*Y*A*Y*Y*B", "HI*BK:8472*BF:7242"}));
  EXPECT_EQ(g_->claim.mClaim.sClaimPlaceOfService, "11");
  EXPECT_EQ(g_->claim.mClaim.sDiagCode[2], "7242");

  // Assignment from the preference or the insurance action; no benefits
  // assignment and no signature on file.
  Fill(top().Subscriber,
       {{Subscriber::sBenefitsAssignment, "0"}, {Subscriber::sSignatureOnFile, ""}});
  ASSERT_EQ(OpenASCIIout(c_), 0);
  for (auto [preference, action] : {std::pair{"3", ""}, {"0", "C"}, {"0", "H"}, {"A", "Y"}}) {
    top().CalcPref[1] = preference;
    charge()[Charge::sInsuranceAction] = action;
    ASSERT_EQ(WriteClaimHeader(c_), 0);
  }
  EXPECT_EQ(SegmentsStartingWith("CLM"),
            (Texts{"CLM*ACCT1*150.5***11::1*Y*C*N*N", "CLM*ACCT1*150.5***11::1*Y*A*N*N",
                   "CLM*ACCT1*150.5***11::1*Y*C*N*N", "CLM*ACCT1*150.5***11::1*Y**N*N"}));

  // No principal diagnosis, no HI; empty codes between others are skipped.
  ASSERT_EQ(OpenASCIIout(c_), 0);
  Diagnoses({});
  EXPECT_TRUE(Write("HI").empty());
  ASSERT_EQ(OpenASCIIout(c_), 0);
  Diagnoses({"1.2", "", "3.4"});
  EXPECT_EQ(Write("HI"), (Texts{"HI*BK:12*BF:34"}));
}

TEST_F(ClaimHeader, RelatedCausesAndOnsetDates) {
  Onset("MTR", "03152023");
  EXPECT_EQ(Write("CLM")[0], "CLM*ACCT1*150.5***11::1*Y*A*Y*Y*B*AA:::NY");
  EXPECT_EQ(SegmentsStartingWith("DTP"), (Texts{"DTP*439*D8*20230315", "DTP*431*D8*20230315"}));
  Onset("EMP", "03152023");
  EXPECT_EQ(Body(), (Texts{"DTP*431*D8*20230315"}));
  Onset("ACC", "03152023");
  EXPECT_EQ(Body(), (Texts{"DTP*431*D8*20230315", "DTP*439*D8*20230315"}));
  Onset("LMP", "03152023");
  EXPECT_EQ(Body(), (Texts{"DTP*431*D8*20230315", "DTP*484*D8*20230315"}));

  // The accident state from extended data; the special program from the
  // claim's keys.
  ASSERT_EQ(OpenASCIIout(c_), 0);
  Onset("MTR", "03152023");
  group().SecondSet(2)[ExtData::sExtData] = "~20003NJ~";
  g_->claim.mClaim.sClaimExtKeys = "~A~~EPSDTX~";
  EXPECT_EQ(Write("CLM")[0], "CLM*ACCT1*150.5***11::1*Y*A*Y*Y*B*AA:::NJ*01");

  // Without any state no empty components are left; without a date no DTP.
  ASSERT_EQ(OpenASCIIout(c_), 0);
  group().SecondSet(2)[ExtData::sExtData] = "";
  top().Practice[Practice::sState] = "";
  g_->claim.mClaim.sClaimExtKeys = "";
  Onset("MTR", "");
  EXPECT_EQ(Write("CLM")[0], "CLM*ACCT1*150.5***11::1*Y*A*Y*Y*B*AA");
  EXPECT_TRUE(SegmentsStartingWith("DTP").empty());
}

TEST_F(ClaimHeader, DatesInTheirOrder) {
  Fill(group().Chiropractor, {{Chiropractor::sInitialTreatmentDate, "01012023"},
                              {Chiropractor::sLastXRayDate, "01022023"},
                              {Chiropractor::sAcuteManifestationDate, "01032023"}});
  Fill(charge(), {{Charge::sDisabilityFromDate, "02012023"},
                  {Charge::sDisabilityToDate, "02022023"},
                  {Charge::sLastWorkedDate, "02032023"},
                  {Charge::sReturnToWorkDate, "02042023"},
                  {Charge::sAdmissionDate, "02052023"},
                  {Charge::sDischargeDate, "02062023"},
                  {Charge::sProcedureCode, "V2020"}});
  group().FirstSet(1)[ExtData::sExtData] = "~1000603012023~1000903022023~1001003032023~";
  EXPECT_EQ(Body(), (Texts{"DTP*454*D8*20230101", "DTP*453*D8*20230103", "DTP*455*D8*20230102",
                           "DTP*471*D8*20230301", "DTP*360*D8*20230201", "DTP*361*D8*20230202",
                           "DTP*297*D8*20230203", "DTP*296*D8*20230204", "DTP*435*D8*20230205",
                           "DTP*096*D8*20230206", "DTP*090*D8*20230302", "DTP*091*D8*20230303"}));
  // The prescription date belongs to vision procedures, the initial
  // treatment date to a received chiropractic record.
  charge()[Charge::sProcedureCode] = "99213";
  group().Chiropractor[0] = "";
  Texts dates = Body();
  EXPECT_EQ(dates.size(), 10u);
  EXPECT_EQ(dates[0], "DTP*453*D8*20230103");
}

TEST_F(ClaimHeader, PaperworkAmountsReferencesAndNote) {
  Fill(charge(), {{Charge::sIndicatorKeys, "~X~~DI02~~SAEK~"},
                  {Charge::sAmtPatientPaid, "0.50"},
                  {Charge::sBillingInsIndex, "2"},
                  {Charge::sPrimaryApprovalNr, "AUTH1"},
                  {Charge::sSecondaryApprovalNr, "AUTH2"},
                  {Charge::sFacilityCertSwitch, "YES"}});
  group().Facility[Facility::sCertificationNr] = "MAMMO1";
  EXPECT_EQ(Body(), (Texts{"PWK*OZ*FX", "AMT*F5*.5", "REF*4N*2", "REF*EW*MAMMO1", "REF*G1*AUTH2",
                           "NTE*ADD*FAXED"}));

  // By mail, with an attachment control number and an APG number; nothing
  // paid; the certification number only when the charge asks for it.
  Fill(charge(), {{Charge::sIndicatorKeys, "~DI02~~DI01~"},
                  {Charge::sAmtPatientPaid, "0"},
                  {Charge::sBillingInsIndex, "1"},
                  {Charge::sFacilityCertSwitch, "NY"}});
  group().SecondSet(2)[ExtData::sExtData] = "~20002CTRL9~20000APG7~";
  EXPECT_EQ(Body(),
            (Texts{"PWK*OZ*BM***AC*CTRL9", "REF*G1*AUTH1", "REF*1S*APG7", "NTE*ADD*IN THE MAIL"}));
}

TEST_F(ClaimHeader, AmbulanceVisionAndHomebound) {
  AmbulanceRec& amb = group().Ambulance;
  Fill(amb, {{Ambulance::sPatientWeight, "150"},
             {2, "1"},
             {5, "1"},
             {Ambulance::sDistance, "12.50"},
             {Ambulance::sTransportCode, "X"},
             {Ambulance::sTransportReason, "A"},
             {Ambulance::sRoundTripPurpose, "ROUND TRIP"},
             {Ambulance::sStretcherPurpose, "STRETCHER"}});
  charge()[Charge::sIndicatorKeys] = "~L4~~E3~~E2~~L2~~ILABHP~";
  EXPECT_EQ(Body(), (Texts{"CR1*LB*150*X*A*DH*12.5***ROUND TRIP*STRETCHER", "CRC*07*Y*01*04*60",
                           "CRC*E2*Y*L2", "CRC*75*Y*IH"}));

  // No weight, no round trip; at most five condition codes; no vision
  // category without a vision condition.
  for (std::size_t m = 2; m <= 10; ++m) amb[m] = "1";
  Fill(amb, {{Ambulance::sPatientWeight, ""}, {Ambulance::sTransportCode, "I"}});
  charge()[Charge::sIndicatorKeys] = "~E1~";
  EXPECT_EQ(Body(), (Texts{"CR1***I*A*DH*12.5****STRETCHER", "CRC*07*Y*01*02*03*04*05"}));

  // Without any condition neither CR1 nor CRC.
  for (std::size_t m = 2; m <= 10; ++m) amb[m] = "0";
  amb[Ambulance::sTransportReason] = "B";
  EXPECT_TRUE(Body().empty());
}

TEST_F(ClaimHeader, PurchasedServicesCountEveryLine) {
  Fill(group().OProvider, {{OProvider::sProviderRole, "PSP"}, {OProvider::sLastName, "LAB"}});
  const char* charges[] = {"10", "20", "30.5", "7"};
  for (std::size_t i = 1; i <= 4; ++i) {
    DetailLine& line = g_->claim.DETAILArray[i];
    line.sUsed = "Y";
    line.curCharge = Currency::FromText(charges[i - 1]);
    if (i != 4) line.Group->OProvider = group().OProvider;
  }
  EXPECT_EQ(Write("AMT"), (Texts{"AMT*NE*60.5"}));
}

TEST_F(ClaimHeader, FailedWriteEndsTheClaim) {
  CloseASCIIout(c_);
  EXPECT_EQ(WriteClaimHeader(c_), 3);
  EXPECT_EQ(g_->writer.SegmentCount, 1);
  EXPECT_TRUE(HasError("The Data was: CLM*ACCT1"));
}

}  // namespace
}  // namespace wcomp837
