// Claim provider and facility loops 2310A-2310E, the provider taxonomy code
// and the identifier rule shared by every person loop.
#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "records/numeric.h"
#include "x12/code_tables.h"
#include "x12/loops_claim.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

constexpr std::size_t kNoMember = static_cast<std::size_t>(-1);

// Where a person record holds its name and identifiers.
struct PersonFields {
  std::size_t last, first, middle, suffix, taxId, ssn, npi;
};

constexpr PersonFields kReferralFields{
    Referral::sLastName, Referral::sFirstName, Referral::sMiddleName, kNoMember,
    Referral::sTaxId,    Referral::sSSN,       Referral::sNPI};
constexpr PersonFields kServicingFields{
    SProvider::sLastName, SProvider::sFirstName, SProvider::sMiddleName, SProvider::sSuffix,
    SProvider::sTaxId,    SProvider::sSSN,       SProvider::sNPI};
constexpr PersonFields kBillingFields{
    BProvider::sLastName, BProvider::sFirstName, BProvider::sMiddleName, BProvider::sSuffix,
    BProvider::sTaxId,    BProvider::sSSN,       BProvider::sNPI};
constexpr PersonFields kOtherFields{
    OProvider::sLastName, OProvider::sFirstName, OProvider::sMiddleName, OProvider::sSuffix,
    OProvider::sTaxId,    OProvider::sSSN,       OProvider::sNPI};

// A person record with its layout.
struct Person {
  RecordView record;
  const PersonFields& fields;

  Text Get(std::size_t member) const {
    return member == kNoMember ? Text() : Member(record, member);
  }
  PersonName Name() const {
    return {Get(fields.last), Get(fields.first), Get(fields.middle), Get(fields.suffix)};
  }
};

// The identifier rule: the secondary identifier is the tax ID ("24") or else
// the SSN ("34"); NM108/NM109 carry the NPI ("XX") when there is one, else
// the secondary identifier. The billing block's secondary pair holds it for
// the loop being written.
IdPair PersonIdentifier(const Person& person, BillingBlock& billing) {
  if (const Text taxId = person.Get(person.fields.taxId); !taxId.empty()) {
    billing.sSecondaryIDQual = "24";
    billing.sSecondaryID = taxId;
  } else if (const Text ssn = person.Get(person.fields.ssn); !ssn.empty()) {
    billing.sSecondaryIDQual = "34";
    billing.sSecondaryID = ssn;
  }
  const Text npi = person.Get(person.fields.npi);
  if (!npi.empty()) return {"XX", npi};
  return {billing.sSecondaryIDQual, billing.sSecondaryID};
}

SegmentText PersonNameSegment(const WriterCtx& c, std::string_view entity, const Person& person) {
  return NameSegment(entity, "1", person.Name(), PersonIdentifier(person, c.env.billing));
}

// Empties the billing block's secondary pair around each loop.
class ScratchIdentifier {
 public:
  explicit ScratchIdentifier(BillingBlock& billing) : billing_(billing) { Clear(); }
  ~ScratchIdentifier() { Clear(); }
  ScratchIdentifier(const ScratchIdentifier&) = delete;
  ScratchIdentifier& operator=(const ScratchIdentifier&) = delete;

 private:
  void Clear() {
    billing_.sSecondaryIDQual.clear();
    billing_.sSecondaryID.clear();
  }
  BillingBlock& billing_;
};

// A payer-assigned or legacy provider number: only while legacy numbers are
// still sent, and only with a number (a REF without REF02 is rejected).
void PutLegacyRef(const WriterCtx& c, LoopWriter& out, std::string_view qualifier,
                  const std::string& number) {
  if (c.ref.LegacyDatePassed || number.empty()) return;
  out.Put(SegmentText("REF").Add(qualifier).Add(number));
}

Text PayerCategory(const WriterCtx& c) {
  return c.records.g_LastTop.Insurance[Insurance::sInsuranceCategoryCd];
}

// An odd billing option makes the billing provider record the billing
// provider; an even, empty or non-numeric one the practice.
bool BillingProviderRecordBills(const WriterCtx& c) {
  return TextToInt16(c.records.g_LastTop.CalcPref[CalcPref::sBillingOption]) % 2 != 0;
}

void WriteReferringProvider(const WriterCtx& c, LoopWriter& out) {
  const ReferralRec& referral = c.g_LastGroup().Referral;
  if (!Received(referral)) return;
  ScratchIdentifier scratch(c.env.billing);
  Person person{referral, kReferralFields};
  // Entity type "1" in the record marks an organisation.
  if (referral[Referral::sEntityType] == "1") {
    out.Put(NameSegment("DN", "2", {referral[Referral::sLastName], "", "", ""},
                        PersonIdentifier(person, c.env.billing)));
  } else {
    out.Put(PersonNameSegment(c, "DN", person));
  }
  out.Put(SegmentText("PRV").Add("RF").Add("ZZ").Add(GetTaxonomyCode(c, "3", true)));
  if (referral[36] == "1") {
    PutLegacyRef(c, out, "1G", referral[31]);
  } else {
    std::string qualifier = PayerProviderIDQualifier(PayerCategory(c));
    PutLegacyRef(c, out, qualifier.empty() ? "1B" : qualifier, referral[Referral::sProviderNr]);
  }
}

void WriteRenderingProvider(const WriterCtx& c, LoopWriter& out) {
  const Text choice = c.records.g_LastTop.CalcPref[CalcPref::sBreakOnServicingProvider];
  bool servicing = choice == "2" && Received(c.g_LastGroup().SProvider);
  bool written = BillingProviderRecordBills(c) ? servicing : choice != "0";
  // Without a billing provider record there is nobody to name.
  if (!written || (!servicing && !Received(c.records.g_LastTop.BProvider))) return;
  ScratchIdentifier scratch(c.env.billing);
  Person person = servicing ? Person{c.g_LastGroup().SProvider, kServicingFields}
                            : Person{c.records.g_LastTop.BProvider, kBillingFields};
  out.Put(PersonNameSegment(c, "82", person));
  out.Put(
      SegmentText("PRV").Add("PE").Add("ZZ").Add(GetTaxonomyCode(c, servicing ? "1" : "2", true)));
  // No qualifier for the payer's category (workers' compensation among
  // others): no payer-assigned number.
  std::string qualifier = PayerProviderIDQualifier(PayerCategory(c));
  if (!qualifier.empty()) {
    PutLegacyRef(c, out, qualifier,
                 servicing ? c.g_LastGroup().SProvider[SProvider::sProviderNr]
                           : c.records.g_LastTop.Insurance[Insurance::sPayerProviderId2]);
  }
}

void WritePurchasedServiceProvider(const WriterCtx& c, LoopWriter& out) {
  const OProviderRec& other = c.g_LastGroup().OProvider;
  if (!Received(other) || other[OProvider::sProviderRole] != "PSP") return;
  ScratchIdentifier scratch(c.env.billing);
  out.Put(PersonNameSegment(c, "QB", Person{other, kOtherFields}));
  if (c.ref.LegacyDatePassed) return;
  std::string qualifier = PayerProviderIDQualifier(PayerCategory(c));
  const Text number = other[OProvider::sProviderNr];
  // Member 38 is read as the number its text begins with (0 when none).
  if (!qualifier.empty() && NumericValue(other[38]) != 1.0 && !number.empty()) {
    PutLegacyRef(c, out, qualifier, number);
  } else {
    PutLegacyRef(c, out, "1G", other[33]);
  }
}

void WriteServiceFacility(const WriterCtx& c, LoopWriter& out) {
  const FacilityRec& facility = c.g_LastGroup().Facility;
  if (!Received(facility)) return;
  ScratchIdentifier scratch(c.env.billing);
  out.Put(NameSegment("FA", "2", {facility[Facility::sName], "", "", ""},
                      {"XX", facility[Facility::sNPI]}));
  out.Put(AddressSegment(facility[Facility::sAddress1], facility[Facility::sAddress2]));
  out.Put(CityStateZipSegment(facility[Facility::sCity], facility[Facility::sState],
                              facility[Facility::sZip], false));
  PutLegacyRef(c, out, "1C", facility[Facility::sFacilityNr]);
}

void WriteSupervisingProvider(const WriterCtx& c, LoopWriter& out) {
  const OProviderRec& other = c.g_LastGroup().OProvider;
  if (!Received(other) || other[OProvider::sProviderRole] != "SPR") return;
  ScratchIdentifier scratch(c.env.billing);
  out.Put(PersonNameSegment(c, "DQ", Person{other, kOtherFields}));
  PutLegacyRef(c, out, "1B", other[OProvider::sProviderNr]);
}

// Where a taxonomy code may be found.
enum class TaxonomySource {
  kServicing,
  kBilling,
  kInsurance,
  kPractice,
  kReferral,
  kOther,
  kOtherReferral
};

struct TaxonomyCandidate {
  TaxonomySource source;
  std::size_t member;
  bool payerSpecific;
};

// Candidates are tried in order; the first that is not empty wins, else the
// rule's fallback.
struct TaxonomyRule {
  std::string_view kind;
  std::vector<TaxonomyCandidate> candidates;
  std::string_view fallback;
};

using enum TaxonomySource;
const std::array<TaxonomyRule, 5> kTaxonomyRules = {{
    {"1",
     {{kServicing, 28, true},
      {kServicing, 33, false},
      {kInsurance, 26, true},
      {kPractice, Practice::sTaxonomyCode, false}},
     "XXXXXXXXXX"},
    {"2",
     {{kInsurance, 29, true},
      {kBilling, BProvider::sTaxonomyCode, false},
      {kInsurance, 26, true},
      {kPractice, Practice::sTaxonomyCode, false}},
     "XXXXXXXXXX"},
    {"3",
     {{kReferral, Referral::sTaxonomyCode, true}, {kReferral, Referral::sTaxonomyCode2, false}},
     "207Q00000X"},
    {"4",
     {{kOther, OProvider::sTaxonomyCode, true}, {kOther, OProvider::sTaxonomyCode2, false}},
     "207Q00000X"},
    {"5",
     {{kOtherReferral, OReferral::sTaxonomyCode, true},
      {kOtherReferral, OReferral::sTaxonomyCode2, false}},
     "207Q00000X"},
}};

RecordView TaxonomyRecord(const WriterCtx& g, TaxonomySource source) {
  switch (source) {
    case kServicing:
      return g.g_LastGroup().SProvider;
    case kBilling:
      return g.records.g_LastTop.BProvider;
    case kInsurance:
      return g.records.g_LastTop.Insurance;
    case kPractice:
      return g.records.g_LastTop.Practice;
    case kReferral:
      return g.g_LastGroup().Referral;
    case kOther:
      return g.g_LastGroup().OProvider;
    case kOtherReferral:
      return g.g_LastGroup().OReferral;
  }
  return {};
}

}  // namespace

std::string GetTaxonomyCode(const WriterCtx& c, std::string_view kind, bool bPayerSpecific) {
  for (const TaxonomyRule& rule : kTaxonomyRules) {
    if (rule.kind != kind) continue;
    for (const TaxonomyCandidate& candidate : rule.candidates) {
      if (candidate.payerSpecific && !bPayerSpecific) continue;
      const Text code = Member(TaxonomyRecord(c, candidate.source), candidate.member);
      if (!code.empty()) return code;
    }
    return std::string(rule.fallback);
  }
  return {};
}

std::int16_t WriteClaimProviders(const WriterCtx& c) {
  LoopWriter out(c);
  WriteReferringProvider(c, out);
  WriteRenderingProvider(c, out);
  WritePurchasedServiceProvider(c, out);
  WriteServiceFacility(c, out);
  WriteSupervisingProvider(c, out);
  return out.Status();
}

}  // namespace wcomp837
