// Loop 2400 of a service line: SV1 and the situational segments after it.
#include "loops_b_fixture.h"

namespace wcomp837 {
namespace {

using Strings = std::vector<std::string>;

class ServiceLineLoop : public LoopsBTest {
 protected:
  void SetUp() override {
    LoopsBTest::SetUp();
    BillTo("1");
  }

  Strings Written(const std::string& prefix = "") {
    EXPECT_EQ(Write_Detail_Records(c_, 1), 0);
    return Segments(prefix);
  }
};

TEST_F(ServiceLineLoop, PlainPrimaryLineAndLinesNotWritten) {
  Line(1).sLineControlNr = "  0001A0000011MAINS ";
  EXPECT_EQ(Written(), (Strings{"LX*1", "SV1*HC:99213*100*UN*1***1", "DTP*472*D8*20230115",
                                "REF*6R*0001A0000011MAINS"}));
  EXPECT_EQ(o_.env.miLinesWritten, 1);
  EXPECT_EQ(g_->writer.SegmentCount, 4);

  Line(1).sUsed = "N";
  for (std::int16_t index : {1, 0, -3, 21, 32767}) EXPECT_EQ(Write_Detail_Records(c_, index), 0);
  EXPECT_EQ(Segments(), Strings{});
  EXPECT_EQ(o_.env.miLinesWritten, 1);
}

TEST_F(ServiceLineLoop, Sv1Elements) {
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
}

TEST(GetMinutesTest, CountsAcrossMidnightAndNeverNegative) {
  EXPECT_EQ(GetMinutes("0900", "1030"), 90);
  EXPECT_EQ(GetMinutes("2330", "0015"), 45);
  EXPECT_EQ(GetMinutes("1030", "1000"), 0);  // same hour, earlier minute
  EXPECT_EQ(GetMinutes("08", "0930"), 90);   // short texts are read as far as they go
  EXPECT_EQ(GetMinutes("", ""), 0);
  EXPECT_EQ(GetMinutes("XXXX", "0100"), 60);
}

TEST_F(ServiceLineLoop, FailuresAreReported) {
  Components text;
  EXPECT_EQ(Do_SV1_Record(c_, 0), 3);
  EXPECT_TRUE(HasMessage(" Do_SV1_Record()  9 Subscript out of range"));
  EXPECT_EQ(AppendProcedureAndModifiers(c_, 999, text), 3);
  EXPECT_TRUE(HasMessage(" AppendProcedureAndModifiers()  9 "));

  Line(1);
  CloseASCIIout(c_);
  EXPECT_EQ(Write_Detail_Records(c_, 1), 3);
  EXPECT_TRUE(HasMessage("The Data was: LX*1"));
  EXPECT_EQ(g_->writer.SegmentCount, 1);  // nothing after the failed LX
}

TEST_F(ServiceLineLoop, ServiceDates) {
  Line(1).sToDate = "01202023";
  EXPECT_EQ(Written("DTP*472"), Strings{"DTP*472*RD8*20230115-20230120"});
  Line(1).sToDate = "";  // no range with one end missing
  EXPECT_EQ(Written("DTP*472"), Strings{"DTP*472*D8*20230115"});
}

TEST_F(ServiceLineLoop, MailedOrFaxedAttachment) {
  Line(1).sExtKeys = "~X~DI01~DI02~";
  Strings s = Written();
  EXPECT_EQ(s[2], "PWK*OZ*BM");
  EXPECT_EQ(s.back(), "NTE*ADD*IN THE MAIL");
}

TEST_F(ServiceLineLoop, Ambulance) {
  auto ambulance = [this](const std::string& transport, const std::string& reason) -> auto& {
    AmbulanceRec& amb = Line(1).Group->Ambulance;
    amb[Ambulance::sRecordTag] = "6050";
    amb[Ambulance::sDistance] = "12.0";
    amb[Ambulance::sTransportCode] = transport;  // round trip only for X
    amb[Ambulance::sTransportReason] = reason;
    amb[Ambulance::sRoundTripPurpose] = "DIALYSIS";
    amb[Ambulance::sStretcherPurpose] = "UNABLE TO SIT";
    return amb;
  };
  AmbulanceRec& amb = ambulance("X", "A");
  amb[Ambulance::sPatientWeight] = "180.5";
  for (std::size_t k = 0; k < 9; k += 2) amb[Ambulance::sCondition01 + k] = "1";
  // Codes 01, 03, 05, 07, 09 and 60 (reason A): the first five.
  EXPECT_EQ(Written("CR"), (Strings{"CR1*LB*180.5*X*A*DH*12***DIALYSIS*UNABLE TO SIT",
                                    "CRC*07*Y*01*03*05*07*09"}));

  ambulance("I", "B")[Ambulance::sCondition01 + 1] = "1";
  EXPECT_EQ(Written("CR"), (Strings{"CR1***I*B*DH*12****UNABLE TO SIT", "CRC*07*Y*02"}));

  ambulance("I", "B")[Ambulance::sPatientWeight] = "150";  // no condition indicator
  EXPECT_EQ(Written("CR"), Strings{});
}

TEST_F(ServiceLineLoop, Chiropractic) {
  DetailLine& line = Line(1);
  ChiropractorRec& chiro = line.Group->Chiropractor;
  Set(chiro, {{Chiropractor::sRecordTag, "6060"},
              {Chiropractor::sLastXRayDate, "12012022"},
              {Chiropractor::sAcuteManifestationDate, "11152022"},
              {7, "A"},
              {8, "1"},
              {9, "LOW BACK"},
              {11, "SUBLUXATION L4"},
              {12, " "},
              {17, std::string(79, 'A') + " B" + std::string(18, 'C') + " "}});
  line.Group->Charge[94] = "01012020";  // the chiropractic record's date wins
  Strings s = Written();
  ASSERT_EQ(s.size(), 7u);
  EXPECT_EQ(s[2], "CR2********A**" + std::string(79, 'A') + "*B" + std::string(18, 'C') + "*Y");
  EXPECT_EQ(s[4], "DTP*455*D8*20221201");
  EXPECT_EQ(s[5], "DTP*453*D8*20221115");
  EXPECT_EQ(s[6], "NTE*ADD*LOW BACK, SUBLUXATION L4");
}

TEST_F(ServiceLineLoop, DatesReferencesAndAmounts) {
  DetailLine& line = Line(1);
  line.Group->ExtData[0][ExtData::sExtData] = "~1001101302023~";
  line.Group->ExtData[1][ExtData::sExtData] = "~20004REFLAB9~";
  Set(line.Group->Charge, {{Charge::sTOSBillingCode, "5"},
                           {Charge::sPrimaryApprovalNr, "AUTH1"},
                           {Charge::sSecondaryApprovalNr, "AUTH2"},
                           {76, "LAB"}});
  line.Group->Facility[Facility::sRecordTag] = "6200";
  line.Group->Facility[14] = "CLIA77";
  EXPECT_EQ(Written(),
            (Strings{"LX*1", "SV1*HC:99213*100*UN*1***1", "DTP*472*D8*20230115",
                     "DTP*011*D8*20230130", "REF*G1*AUTH1", "REF*X4*CLIA77", "REF*F4*REFLAB9"}));

  // Without a facility record the insurance's certification; not type 5: no
  // F4; a secondary claim takes the secondary approval and the allowed amount.
  BillTo("2");
  line.Group->Facility[Facility::sRecordTag] = "";
  line.Group->Charge[Charge::sTOSBillingCode] = "1";
  line.Group->Charge[94] = "01012020";
  line.oInsInfo.GetInsInfo(1).curAmtAllowed = Currency::FromText("75.25");
  g_->g_LastTop.Insurance[25] = "CLIA55";
  EXPECT_EQ(Written(), (Strings{"LX*1", "SV1*HC:99213*100*UN*1***1", "DTP*472*D8*20230115",
                                "DTP*011*D8*20230130", "DTP*455*D8*20200101", "REF*G1*AUTH2",
                                "REF*X4*CLIA55", "AMT*AAE*75.25"}));
}

TEST_F(ServiceLineLoop, NarrativeAndPurchasedService) {
  DetailLine& line = Line(1);
  line.sNarrative = "19-FIRST;SECOND;" + std::string(70, 'X') + "TAIL";
  Set(line.Group->OProvider, {{OProvider::sRecordTag, "6110"},
                              {OProvider::sProviderRole, "PSP"},
                              {OProvider::sProviderNr, "PS123"}});
  Strings s = Written();
  EXPECT_EQ(s[3], "NTE*ADD*FIRST SECOND;" + std::string(67, 'X'));
  EXPECT_EQ(s[4], "PS1*PS123*100");
}

}  // namespace
}  // namespace wcomp837
