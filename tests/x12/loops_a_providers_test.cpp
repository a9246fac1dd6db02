// Claim provider and facility loops 2310A-2310E and the taxonomy code.
#include "loops_a_fixture.h"
#include "state/messages.h"
#include "x12/loops_claim.h"

namespace wcomp837 {
namespace {

using Texts = std::vector<std::string>;

class ClaimProviders : public LoopsATest {
 protected:
  void SetUp() override {
    LoopsATest::SetUp();
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

  // Writes the loops into a fresh claim file.
  Texts Write() {
    EXPECT_EQ(OpenASCIIout(c_), 0);
    EXPECT_EQ(WriteClaimProviders(c_), 0);
    EXPECT_TRUE(o_.env.billing.sSecondaryIDQual.empty() && o_.env.billing.sSecondaryID.empty())
        << "the scratch identifier is emptied after each loop";
    return Segments();
  }
};

TEST_F(ClaimProviders, ReferringProvider) {
  ReferralRec& ref = group().Referral;
  FillPerson(ref, "6120", "SMITH");
  Fill(ref, {{Referral::sTaxId, "111222333"},
             {Referral::sSSN, "999887777"},
             {Referral::sNPI, "1234567893"},
             {Referral::sTaxonomyCode2, "208D00000X"}});
  EXPECT_EQ(Write(), (Texts{"NM1*DN*1*SMITH*ANN*B***XX*1234567893", "PRV*RF*ZZ*208D00000X",
                            "REF*1B*NR6120"}));

  // Without NPI and tax ID the SSN identifies; no legacy number after the date.
  Fill(ref, {{Referral::sNPI, ""}, {Referral::sTaxId, ""}, {Referral::sTaxonomyCode2, ""}});
  g_->ref.LegacyDatePassed = true;
  EXPECT_EQ(Write(), (Texts{"NM1*DN*1*SMITH*ANN*B***34*999887777", "PRV*RF*ZZ*207Q00000X"}));

  // An organisation; the payer's qualifier; the 1G number when asked for;
  // no REF without a number.
  g_->ref.LegacyDatePassed = false;
  Fill(ref, {{Referral::sEntityType, "1"}, {Referral::sLastName, "COUNTY CENTER"}, {8, ""}});
  top().Insurance[Insurance::sInsuranceCategoryCd] = "MCR";
  EXPECT_EQ(Write(), (Texts{"NM1*DN*2*COUNTY CENTER", "PRV*RF*ZZ*207Q00000X", "REF*1C*NR6120"}));
  Fill(ref, {{36, "1"}, {31, "UPIN1"}});
  EXPECT_EQ(Write().back(), "REF*1G*UPIN1");
  Fill(ref, {{36, ""}, {Referral::sProviderNr, ""}});
  EXPECT_EQ(Write().back(), "PRV*RF*ZZ*207Q00000X");
}

TEST_F(ClaimProviders, RenderingProviderFollowsTheBillingOption) {
  Fill(top().BProvider, {{BProvider::sFirstName, "RAY"},
                         {BProvider::sLastName, "JONES"},
                         {BProvider::sSuffix, "III"},
                         {BProvider::sTaxId, "555666777"}});
  top().Insurance[Insurance::sPayerProviderId2] = "PIN2";
  SProviderRec& sp = group().SProvider;
  FillPerson(sp, "6100", "BROWN");
  Fill(sp, {{SProvider::sNPI, "1112223334"}, {28, "PAYERTAX1"}});

  const Texts billing = {"NM1*82*1*JONES*RAY***III*24*555666777", "PRV*PE*ZZ*XXXXXXXXXX"};
  const Texts servicing = {"NM1*82*1*BROWN*ANN*B**MD*XX*1112223334", "PRV*PE*ZZ*PAYERTAX1"};
  struct Case {
    const char* option;
    const char* choice;
    const char* servicingTag;
    Texts expected;
  };
  const Case cases[] = {{"0", "1", "6100", billing}, {"2", "2", "6100", servicing},
                        {"4", "2", "", billing},     {"0", "0", "6100", {}},
                        {"1", "1", "6100", {}},      {"3", "2", "6100", servicing},
                        {"1", "2", "", {}},          {"", "1", "6100", billing}};
  for (const Case& k : cases) {
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

TEST_F(ClaimProviders, PurchasedServiceAndSupervisingProviders) {
  OProviderRec& other = group().OProvider;
  FillPerson(other, "6110", "LABCO");
  Fill(other, {{OProvider::sProviderRole, "PSP"}, {OProvider::sTaxId, "444555666"}, {33, "UPIN9"}});
  top().Insurance[Insurance::sInsuranceCategoryCd] = "CI";
  other[38] = "N/A";  // no number: read as 0, so the payer's number is sent
  EXPECT_EQ(Write(), (Texts{"NM1*QB*1*LABCO*ANN*B**MD*24*444555666", "REF*G2*NR6110"}));
  EXPECT_EQ(HighestMessageType(g_->host), 0);
  other[38] = "1";
  EXPECT_EQ(Write().back(), "REF*1G*UPIN9");
  other[38] = "";
  top().Insurance[Insurance::sInsuranceCategoryCd] = "WCI";
  EXPECT_EQ(Write().back(), "REF*1G*UPIN9");

  Fill(other, {{OProvider::sProviderRole, "SPR"}, {OProvider::sNPI, "9998887776"}});
  EXPECT_EQ(Write(), (Texts{"NM1*DQ*1*LABCO*ANN*B**MD*XX*9998887776", "REF*1B*NR6110"}));
  other[OProvider::sProviderRole] = "XYZ";
  EXPECT_TRUE(Write().empty());
}

TEST_F(ClaimProviders, ServiceFacility) {
  FacilityRec& fac = group().Facility;
  Fill(fac, {{Facility::sFacilityNr, "FAC77"},
             {Facility::sName, "EAST SIDE SURGERY CENTER"},
             {Facility::sAddress1, "5 OAK AVE"},
             {Facility::sCity, "TORONTO"},
             {Facility::sState, "ON"},
             {Facility::sZip, "M4C1B5"}});
  EXPECT_EQ(Write(), (Texts{"NM1*FA*2*EAST SIDE SURGERY CENTER", "N3*5 OAK AVE",
                            "N4*TORONTO*ON*M4C1B5", "REF*1C*FAC77"}));
  fac[Facility::sNPI] = "1231231231";
  g_->ref.LegacyDatePassed = true;
  EXPECT_EQ(Write(), (Texts{"NM1*FA*2*EAST SIDE SURGERY CENTER*****XX*1231231231", "N3*5 OAK AVE",
                            "N4*TORONTO*ON*M4C1B5"}));
}

TEST_F(ClaimProviders, TaxonomyCodeChoices) {
  Fill(group().SProvider, {{28, "SPPAYER"}, {33, ""}});
  top().Insurance[26] = "INSPROV";
  top().Practice[Practice::sTaxonomyCode] = "PRACTICE";
  EXPECT_EQ(GetTaxonomyCode(c_, "1", true), "SPPAYER");
  EXPECT_EQ(GetTaxonomyCode(c_, "1", false), "PRACTICE");
  group().SProvider[28] = "";
  EXPECT_EQ(GetTaxonomyCode(c_, "1", true), "INSPROV");

  top().BProvider[BProvider::sTaxonomyCode] = "BPOWN";
  EXPECT_EQ(GetTaxonomyCode(c_, "2", true), "BPOWN");
  top().Insurance[29] = "INSBILL";
  EXPECT_EQ(GetTaxonomyCode(c_, "2", true), "INSBILL");

  group().OProvider[OProvider::sTaxonomyCode] = "OPPAYER";
  group().OProvider[OProvider::sTaxonomyCode2] = "OPOWN";
  EXPECT_EQ(GetTaxonomyCode(c_, "4", true), "OPPAYER");
  EXPECT_EQ(GetTaxonomyCode(c_, "4", false), "OPOWN");
  group().OReferral[OReferral::sTaxonomyCode2] = "OROWN";
  EXPECT_EQ(GetTaxonomyCode(c_, "5", true), "OROWN");
  EXPECT_EQ(GetTaxonomyCode(c_, "6", true), "");
}

TEST_F(ClaimProviders, FailedWriteStopsTheLoops) {
  FillPerson(group().Referral, "6120", "SMITH");
  group().Facility[0] = "6200";
  CloseASCIIout(c_);
  EXPECT_EQ(WriteClaimProviders(c_), 3);
  EXPECT_EQ(g_->writer.SegmentCount, 1);
  EXPECT_TRUE(o_.env.billing.sSecondaryID.empty());
}

}  // namespace
}  // namespace wcomp837
