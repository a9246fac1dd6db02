// Subscriber (2000B, 2010BA), payer (2010BB) and patient (2000C, 2010CA) loops.
#include "loops_a_fixture.h"
#include "x12/loops.h"

namespace wcomp837 {
namespace {

using Texts = std::vector<std::string>;

class SubscriberLoops : public LoopsATest {
 protected:
  void SetUp() override {
    LoopsATest::SetUp();
    Fill(top().Insurance, {{Insurance::sPayerId, "WC123"},
                           {Insurance::sPayerName, "STATE COMPENSATION INSURANCE FUNDS OF CA"},
                           {Insurance::sAddress1, "PO BOX 1"},
                           {Insurance::sCity, "SACRAMENTO"},
                           {Insurance::sState, "CA"},
                           {Insurance::sZip, "95814"},
                           {Insurance::sInsuranceCategoryCd, "WCI"}});
    Fill(top().Subscriber, {{Subscriber::sPolicyNrPart1, "GRP"},
                            {Subscriber::sPolicyNrPart2, "001"},
                            {Subscriber::sRelationship, "SLF"},
                            {Subscriber::sFirstName, "JOHN"},
                            {Subscriber::sLastName, "DOE"},
                            {Subscriber::sMiddleName, "QUINCY"},
                            {Subscriber::sSuffix, "JR"},
                            {Subscriber::sBirthDate, "01021970"},
                            {Subscriber::sGender, "M"},
                            {Subscriber::sAddress1, "1 MAIN ST"},
                            {Subscriber::sAddress2, "APT 2"},
                            {Subscriber::sCity, "TORONTO"},
                            {Subscriber::sState, "ON"},
                            {Subscriber::sZip, "M5V1A1"}});
    Fill(top().Patient, {{Patient::sMemberId, "MEM1"},
                         {Patient::sFirstName, "JANE"},
                         {Patient::sLastName, "DOE"},
                         {Patient::sBirthDate, "07041972"},
                         {Patient::sGender, "F"},
                         {Patient::sAddress1, "9 RUE NORD"},
                         {Patient::sAddress2, "UNIT 4"},
                         {Patient::sCity, "MONTREAL"},
                         {Patient::sState, "QC"},
                         {Patient::sZip, "H2X1Y4"}});
    charge()[Charge::sBillingInsIndex] = "1";
  }

  // The loops as the claim writer calls them.
  void WriteAll() {
    ASSERT_EQ(WriteSubscriber(c_), 0);
    ASSERT_EQ(WriteSubscriberName(c_), 0);
    ASSERT_EQ(WritePayer(c_), 0);
    if (top().Subscriber[Subscriber::sRelationship] != "SLF") {
      ASSERT_EQ(WritePatient(c_), 0);
    }
  }
};

TEST_F(SubscriberLoops, InsuredPatientHasNoPatientLevel) {
  WriteAll();
  EXPECT_EQ(o_.env.miSubscriberHL, 2);
  EXPECT_EQ(g_->writer.SegmentCount, 9);
  EXPECT_EQ(Segments(),
            (Texts{"HL*2*1*22*0", "SBR*P*18*GRP001******WC", "NM1*IL*1*DOE*JOHN*Q**JR*MI*MEM1",
                   "N3*1 MAIN ST", "N4*TORONTO*ON*M5V1A1*CA", "DMG*D8*19700102*M",
                   "NM1*PR*2*STATE COMPENSATION INSURANCE FUNDS*****PI*WC123", "N3*PO BOX 1",
                   "N4*SACRAMENTO*CA*95814"}));
}

TEST_F(SubscriberLoops, SpouseAsPatientGetsPatientLevel) {
  Fill(top().Subscriber, {{Subscriber::sRelationship, "WIF"},
                          {Subscriber::sBirthDate, ""},
                          {Subscriber::sGender, ""}});
  charge()[Charge::sBillingInsIndex] = "2";
  top().Insurance[Insurance::sAddress2] = "SUITE 5";
  WriteAll();
  ASSERT_EQ(WriteSubscriber(c_), 0);  // the next claim of the transaction set
  EXPECT_EQ(g_->writer.SegmentCount, 15);
  EXPECT_EQ(Segments(),
            (Texts{"HL*2*1*22*1", "SBR*S**GRP001******WC", "NM1*IL*1*DOE*JOHN*Q**JR*MI*MEM1",
                   "DMG*D8*19720704*F",  // the patient's birth date and gender
                   "NM1*PR*2*STATE COMPENSATION INSURANCE FUNDS*****PI*WC123",
                   "N3*PO BOX 1*SUITE 5", "N4*SACRAMENTO*CA*95814", "HL*3*2*23*0", "PAT*01",
                   "NM1*QC*1*DOE*JANE****MI*MEM1", "N3*9 RUE NORD*UNIT 4", "N4*MONTREAL*QC*H2X1Y4",
                   "DMG*D8*19720704*F", "HL*4*1*22*1", "SBR*S**GRP001******WC"}));
}

TEST_F(SubscriberLoops, MissingValuesTakeTheirDefaults) {
  Fill(top().Subscriber,
       {{Subscriber::sBirthDate, ""}, {Subscriber::sGender, ""}, {Subscriber::sAddress1, ""}});
  Fill(top().Patient,
       {{Patient::sBirthDate, ""}, {Patient::sGender, ""}, {Patient::sMemberId, ""}});
  top().Insurance[Insurance::sPayerId] = "";
  WriteAll();
  // No "MI" without a member ID; the empty address line is dropped and not counted.
  EXPECT_EQ(Segments(), (Texts{"HL*2*1*22*0", "SBR*P*18*GRP001******WC", "NM1*IL*1*DOE*JOHN*Q**JR",
                               "N4*TORONTO*ON*M5V1A1*CA", "DMG*D8*00000000*U",
                               "NM1*PR*2*STATE COMPENSATION INSURANCE FUNDS*****PI*00000",
                               "N3*PO BOX 1", "N4*SACRAMENTO*CA*95814"}));
  EXPECT_EQ(g_->writer.SegmentCount, 8);
}

TEST_F(SubscriberLoops, MedicareSecondaryTypeAndPayerSequence) {
  top().Insurance[Insurance::sInsuranceCategoryCd] = "MCR";
  for (auto [index, keys] : {std::pair{"2", "~~MC12~~"}, {"3", "~MC16~~MC10~"}, {"1", "~MC10~"}}) {
    charge()[Charge::sBillingInsIndex] = index;
    g_->claim.mClaim.sClaimExtKeys = keys;
    ASSERT_EQ(WriteSubscriber(c_), 0);
  }
  EXPECT_EQ(
      SegmentsStartingWith("SBR"),
      (Texts{"SBR*S*18*GRP001**47****MB", "SBR*T*18*GRP001**12****MB", "SBR*P*18*GRP001******MB"}));
}

TEST_F(SubscriberLoops, PatientLevelForEveryRelationship) {
  // A code without a PAT01 of its own is sent as unknown: PAT is required.
  for (const char* relationship : {"EMP", "", "OTH", "GC"}) {
    top().Subscriber[Subscriber::sRelationship] = relationship;
    ASSERT_EQ(WritePatient(c_), 0);
  }
  EXPECT_EQ(SegmentsStartingWith("PAT"), (Texts{"PAT*20", "PAT*21", "PAT*G8", "PAT*21"}));

  // A Medicaid dependent: the subscriber level announces the patient level.
  ASSERT_EQ(OpenASCIIout(c_), 0);
  o_.env.miHLCount = 1;
  top().Insurance[Insurance::sInsuranceCategoryCd] = "MCA";
  top().Subscriber[Subscriber::sRelationship] = "SON";
  WriteAll();
  EXPECT_EQ(SegmentsStartingWith("HL"), (Texts{"HL*2*1*22*1", "HL*3*2*23*0"}));
}

TEST_F(SubscriberLoops, FailedWriteStopsTheLoop) {
  CloseASCIIout(c_);
  EXPECT_EQ(WriteSubscriberName(c_), 3);
  EXPECT_EQ(g_->writer.SegmentCount, 1) << "nothing after the failed NM1 is tried";
  EXPECT_TRUE(HasError("The Data was: NM1*IL*1*DOE*JOHN*Q**JR*MI*MEM1"));
}

}  // namespace
}  // namespace wcomp837
