// The claim's loops: subscriber (2000B, 2010BA), payer (2010BB), patient
// (2000C, 2010CA), claim information (2300) and claim providers (2310A-E).
// The reviewed batches under tests/batches/ pin the common cases; these are
// the variants and defaults they do not show.
#include "x12/loops_claim.h"
#include "x12_fixture.h"

namespace wcomp837::testing {
namespace {

class SubscriberLoops : public LoopsTest {
 protected:
  void SetUp() override {
    LoopsTest::SetUp();
    Fill(top().Insurance, {{Insurance::sPayerId, "WC123"},
                           {Insurance::sPayerName, "STATE COMP"},
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
    Fill(top().Patient, {{Patient::sMemberId, "MEM1"}, {Patient::sLastName, "DOE"}});
    charge()[Charge::sBillingInsIndex] = "1";
  }
  // The loops as the claim writer calls them.
  void WriteAll() {
    ASSERT_EQ(WriteSubscriber(c), 0);
    ASSERT_EQ(WriteSubscriberName(c), 0);
    ASSERT_EQ(WritePayer(c), 0);
    if (top().Subscriber[Subscriber::sRelationship] != "SLF") {
      ASSERT_EQ(WritePatient(c), 0);
    }
  }
};

TEST_F(SubscriberLoops, MissingValuesTakeTheirDefaults) {
  Fill(top().Subscriber,
       {{Subscriber::sBirthDate, ""}, {Subscriber::sGender, ""}, {Subscriber::sAddress1, ""}});
  Fill(top().Patient,
       {{Patient::sBirthDate, ""}, {Patient::sGender, ""}, {Patient::sMemberId, ""}});
  top().Insurance[Insurance::sPayerId] = "";
  WriteAll();
  // No "MI" without a member ID; the empty address line is dropped and not counted.
  EXPECT_EQ(Segments(),
            (Strings{"HL*2*1*22*0", "SBR*P*18*GRP001******WC", "NM1*IL*1*DOE*JOHN*Q**JR",
                     "N4*TORONTO*ON*M5V1A1*CA", "DMG*D8*00000000*U",
                     "NM1*PR*2*STATE COMP*****PI*00000", "N3*PO BOX 1", "N4*SACRAMENTO*CA*95814"}));
  EXPECT_EQ(g.writer.SegmentCount, 8);
  EXPECT_EQ(o.env.miSubscriberHL, 2);
}

TEST_F(SubscriberLoops, MedicareSecondaryTypeAndPatientCodes) {
  top().Insurance[Insurance::sInsuranceCategoryCd] = "MCR";
  for (auto [index, keys] : {std::pair{"2", "~~MC12~~"}, {"3", "~MC16~~MC10~"}, {"1", "~MC10~"}}) {
    charge()[Charge::sBillingInsIndex] = index;
    g.claim.mClaim.sClaimExtKeys = keys;
    ASSERT_EQ(WriteSubscriber(c), 0);
  }
  EXPECT_EQ(Segments("SBR"), (Strings{"SBR*S*18*GRP001**47****MB", "SBR*T*18*GRP001**12****MB",
                                      "SBR*P*18*GRP001******MB"}));
  // A code without a PAT01 of its own is sent as unknown: PAT is required.
  for (const char* relationship : {"EMP", "", "OTH", "GC"}) {
    top().Subscriber[Subscriber::sRelationship] = relationship;
    ASSERT_EQ(WritePatient(c), 0);
  }
  EXPECT_EQ(Segments("PAT"), (Strings{"PAT*20", "PAT*21", "PAT*G8", "PAT*21"}));
  // A Medicaid dependent: the subscriber level announces the patient level.
  o.env.miHLCount = 1;
  top().Insurance[Insurance::sInsuranceCategoryCd] = "MCA";
  top().Subscriber[Subscriber::sRelationship] = "SON";
  WriteAll();
  EXPECT_EQ(Segments("HL"), (Strings{"HL*2*1*22*1", "HL*3*2*23*0"}));
}

// Each loop writer stops at its first failed segment and reports its text.
TEST_F(SubscriberLoops, FailedWriteStopsEachLoop) {
  top().Patient[Patient::sAccountNr] = "ACCT1";
  Fill(group().Referral, {{0, "6120"}, {Person::sLastName, "SMITH"}});
  group().Facility[0] = "6200";
  CloseASCIIout(c);
  const struct {
    std::int16_t (*write)(Ctx&);
    const char* data;
  } loops[] = {{WriteSubscriberName, "NM1*IL*1*DOE*JOHN*Q**JR*MI*MEM1"},
               {WriteClaimHeader, "CLM*ACCT1"},
               {WriteClaimProviders, "NM1*DN*1*SMITH"}};
  for (const auto& loop : loops) {
    SCOPED_TRACE(loop.data);
    g.writer.SegmentCount = 0;
    EXPECT_EQ(loop.write(c), 3);
    EXPECT_EQ(g.writer.SegmentCount, 1) << "nothing after the failed segment is tried";
    EXPECT_TRUE(HasError("The Data was: " + std::string(loop.data)));
  }
  EXPECT_TRUE(o.env.billing.sSecondaryID.empty());
}

class ClaimHeader : public LoopsTest {
 protected:
  void SetUp() override {
    LoopsTest::SetUp();
    top().Patient[Patient::sAccountNr] = "ACCT1";
    top().Practice[Practice::sState] = "NY";
    top().CalcPref[1] = "1";
    top().CalcPref[CalcPref::sBreakOnServicingProvider] = "0";  // no rendering provider loop
    top().Subscriber[Subscriber::sBenefitsAssignment] = "1";
    top().Subscriber[Subscriber::sSignatureOnFile] = "1";
    Fill(charge(), {{Charge::sPOSCode, "11"},
                    {Charge::sBillingInsIndex, "1"},
                    {Charge::sIndicatorKeys, "~~"}});
    g.claim.mClaim.curTotalCharges = Currency::FromText("150.50");
    Diagnoses({"847.2", "724.2"});
  }
  void Diagnoses(const Strings& codes) {
    for (std::size_t k = 1; k < g.claim.gDiagArray.size(); ++k) {
      g.claim.gDiagArray[k].sCode = k <= codes.size() ? codes[k - 1] : "";
    }
  }
  Strings Write(const std::string& prefix) {
    EXPECT_EQ(WriteClaimHeader(c), 0);
    return Segments(prefix);
  }
};

TEST_F(ClaimHeader, AssignmentAndDiagnoses) {
  // Assignment from the preference or the insurance action; no benefits
  // assignment and no signature on file.
  Fill(top().Subscriber,
       {{Subscriber::sBenefitsAssignment, "0"}, {Subscriber::sSignatureOnFile, ""}});
  for (auto [preference, action] : {std::pair{"3", ""}, {"0", "C"}, {"0", "H"}, {"A", "Y"}}) {
    top().CalcPref[1] = preference;
    charge()[Charge::sInsuranceAction] = action;
    ASSERT_EQ(WriteClaimHeader(c), 0);
  }
  EXPECT_EQ(Segments("CLM"),
            (Strings{"CLM*ACCT1*150.5***11::1*Y*C*N*N", "CLM*ACCT1*150.5***11::1*Y*A*N*N",
                     "CLM*ACCT1*150.5***11::1*Y*C*N*N", "CLM*ACCT1*150.5***11::1*Y**N*N"}));
  // No principal diagnosis, no HI; empty codes between others are skipped.
  Diagnoses({});
  EXPECT_TRUE(Write("HI").empty());
  Diagnoses({"1.2", "", "3.4"});
  EXPECT_EQ(Write("HI"), (Strings{"HI*BK:12*BF:34"}));
}

TEST_F(ClaimHeader, RelatedCausesAndOnsetDates) {
  const struct {
    const char *type, *date, *extData, *keys, *state;
    const char* clm;  // after CLM09, or nullptr: not checked
    Strings dates;
  } cases[] = {
      {"MTR", "03152023", "", "", "NY", "*AA:::NY", {"DTP*439*D8*20230315", "DTP*431*D8*20230315"}},
      {"EMP", "03152023", "", "", "NY", nullptr, {"DTP*431*D8*20230315"}},
      {"ACC", "03152023", "", "", "NY", nullptr, {"DTP*431*D8*20230315", "DTP*439*D8*20230315"}},
      {"LMP", "03152023", "", "", "NY", nullptr, {"DTP*431*D8*20230315", "DTP*484*D8*20230315"}},
      // The accident state from extended data; the special program from the keys.
      {"MTR", "03152023", "~20003NJ~", "~A~~EPSDTX~", "NY", "*AA:::NJ*01", {}},
      // Without any state no empty components are left; without a date no DTP.
      {"MTR", "", "", "", "", "*AA", {}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.type) + " " + k.date + " " + k.extData);
    Fill(charge(), {{Charge::sOnsetType, k.type}, {Charge::sOnsetDate, k.date}});
    g.claim.DETAILArray[1].Group->Charge[Charge::sOnsetDate] = k.date;
    group().SecondSet(2)[ExtData::sExtData] = k.extData;
    g.claim.mClaim.sClaimExtKeys = k.keys;
    top().Practice[Practice::sState] = k.state;
    EXPECT_EQ(WriteClaimHeader(c), 0);
    const Strings s = Segments();
    if (k.clm) {
      EXPECT_EQ(s[0], "CLM*ACCT1*150.5***11::1*Y*A*Y*Y*B" + std::string(k.clm));
    }
    if (!k.dates.empty() || !*k.date) {
      EXPECT_EQ(Strings(s.begin() + 1, s.end() - 1), k.dates);
    }
  }
}

class ClaimProviders : public LoopsTest {
 protected:
  void SetUp() override {
    LoopsTest::SetUp();
    top().Insurance[Insurance::sInsuranceCategoryCd] = "WCI";
    top().CalcPref[CalcPref::sBillingOption] = "0";
    top().CalcPref[CalcPref::sBreakOnServicingProvider] = "0";
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
  Strings Write() {
    EXPECT_EQ(WriteClaimProviders(c), 0);
    EXPECT_TRUE(o.env.billing.sSecondaryIDQual.empty() && o.env.billing.sSecondaryID.empty())
        << "the scratch identifier is emptied after each loop";
    return Segments();
  }
};

TEST_F(ClaimProviders, RenderingProviderFollowsTheBillingOption) {
  Fill(top().BProvider, {{BProvider::sFirstName, "RAY"},
                         {BProvider::sLastName, "JONES"},
                         {BProvider::sSuffix, "III"},
                         {BProvider::sTaxId, "555666777"}});
  top().Insurance[Insurance::sPayerProviderId2] = "PIN2";
  SProviderRec& sp = group().SProvider;
  FillPerson(sp, "6100", "BROWN");
  Fill(sp, {{SProvider::sNPI, "1112223334"}, {28, "PAYERTAX1"}});

  const Strings billing = {"NM1*82*1*JONES*RAY***III*24*555666777", "PRV*PE*ZZ*XXXXXXXXXX"};
  const Strings servicing = {"NM1*82*1*BROWN*ANN*B**MD*XX*1112223334", "PRV*PE*ZZ*PAYERTAX1"};
  const struct {
    const char *option, *choice, *servicingTag;
    Strings expected;
  } cases[] = {{"0", "1", "6100", billing}, {"2", "2", "6100", servicing},
               {"4", "2", "", billing},     {"0", "0", "6100", {}},
               {"1", "1", "6100", {}},      {"3", "2", "6100", servicing},
               {"1", "2", "", {}},          {"", "1", "6100", billing}};
  for (const auto& k : cases) {
    Fill(top().CalcPref,
         {{CalcPref::sBillingOption, k.option}, {CalcPref::sBreakOnServicingProvider, k.choice}});
    sp[0] = k.servicingTag;
    EXPECT_EQ(Write(), k.expected) << k.option << "/" << k.choice;
  }
  // A payer with a qualifier gets the source's payer-assigned number.
  top().Insurance[Insurance::sInsuranceCategoryCd] = "BCS";
  EXPECT_EQ(Write().back(), "REF*1B*PIN2");
  top().CalcPref[CalcPref::sBreakOnServicingProvider] = "2";
  EXPECT_EQ(Write().back(), "REF*1B*NR6100");
  // Practice billing without a billing provider record names nobody.
  top().CalcPref[CalcPref::sBreakOnServicingProvider] = "1";
  top().BProvider[0] = "";
  EXPECT_TRUE(Write().empty());
}

TEST_F(ClaimProviders, TaxonomyCodeChoices) {
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

}  // namespace
}  // namespace wcomp837::testing
