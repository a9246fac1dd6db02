// Loops 2000B (subscriber level), 2010BA (subscriber name), 2010BB (payer)
// and 2000C/2010CA (patient level), from the last generation of records.
#include <array>
#include <string_view>

#include "records/numeric.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/code_tables.h"
#include "x12/loops.h"
#include "x12/segment_builder.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

constexpr std::string_view kUnknownBirthDate = "00000000";
constexpr std::string_view kUnknownGender = "U";
constexpr std::string_view kUnknownPayerId = "00000";

struct RelationshipCode {
  std::string_view host;
  std::string_view x12;
};

// PAT01 of loop 2000C. A relationship missing from the table is sent as
// "21" (unknown), as the empty one is: the guide requires PAT in 2000C.
constexpr std::array<RelationshipCode, 10> kPatientRelationships = {{
    {"HUS", "01"},
    {"WIF", "01"},
    {"DAU", "19"},
    {"SON", "19"},
    {"MTH", "32"},
    {"FTH", "33"},
    {"EMP", "20"},
    {"", "21"},
    {"OTH", "G8"},
    {"SLF", "21"},
}};
constexpr std::string_view kUnknownRelationship = "21";

std::string_view PatientRelationshipCode(const std::string& relationship) {
  for (const auto& entry : kPatientRelationships) {
    if (entry.host == relationship) return entry.x12;
  }
  return kUnknownRelationship;
}

// SBR01 from the billed insurance's position: 1 primary, 2 secondary,
// anything else tertiary.
std::string_view PayerSequence(const std::string& billingInsIndex) {
  double index = NumericValue(billingInsIndex);
  if (index == 1.0) return "P";
  if (index == 2.0) return "S";
  return "T";
}

bool PatientIsSubscriber(const WriterCtx& c) {
  return c.records.g_LastTop.Subscriber[Subscriber::sRelationship] == "SLF";
}

std::string FirstNotEmpty(const std::string& a, const std::string& b, std::string_view fallback) {
  if (!a.empty()) return a;
  if (!b.empty()) return b;
  return std::string(fallback);
}

SegmentText Demographics(std::string_view birthDate, std::string_view gender) {
  SegmentText dmg("DMG");
  dmg.Add("D8").Add(birthDate).Add(gender);
  return dmg;
}

SegmentText Hierarchy(std::int64_t id, std::int64_t parent, std::string_view level,
                      std::string_view child) {
  SegmentText hl("HL");
  hl.Add(Digits(id)).Add(Digits(parent)).Add(level).Add(child);
  return hl;
}

}  // namespace

std::int16_t WriteSubscriber(const WriterCtx& c) {
  try {
    LogLine(c.host, "@@ Writing Subscriber  LOOP 2000B ");
    const TopRecords& top = c.records.g_LastTop;
    const Text category = top.Insurance[Insurance::sInsuranceCategoryCd];
    const Text billingInsIndex = c.g_LastGroup().Charge[Charge::sBillingInsIndex];
    EnvelopeMembers& env = c.env;
    LoopWriter out(c);

    // HL04 announces the patient level that follows whenever the patient is
    // not the subscriber.
    ++env.miHLCount;
    out.Put(Hierarchy(env.miHLCount, env.miProviderHL, "22", PatientIsSubscriber(c) ? "0" : "1"));
    env.miSubscriberHL = env.miHLCount;

    std::string medicareType;
    if (category == "MCR" && billingInsIndex != "1") {
      medicareType = MedicareSecondaryTypeCode(c.claim.mClaim.sClaimExtKeys);
      if (medicareType.empty()) medicareType = "47";
    }
    SegmentText sbr("SBR");
    sbr.Add(PayerSequence(billingInsIndex))
        .Add(PatientIsSubscriber(c) ? "18" : "")
        .Add(top.Subscriber[Subscriber::sPolicyNrPart1] +
             top.Subscriber[Subscriber::sPolicyNrPart2])
        .Add("")
        .Add(medicareType)
        .Add("")
        .Add("")
        .Add("")
        .Add(ClaimFilingIndicator(category));
    out.Put(sbr);
    return out.Status();
  } catch (...) {
    AddFailureMessage(c.host, " WriteSubscriber() Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t WriteSubscriberName(const WriterCtx& c) {
  try {
    LogLine(c.host, "@@ Writing SubscriberName  LOOP 2010BA ");
    const SubscriberRec& sub = c.records.g_LastTop.Subscriber;
    const PatientRec& pat = c.records.g_LastTop.Patient;
    LoopWriter out(c);

    out.Put(NameSegment("IL", "1",
                        {sub[Subscriber::sLastName], sub[Subscriber::sFirstName],
                         sub[Subscriber::sMiddleName], sub[Subscriber::sSuffix]},
                        {"MI", pat[Patient::sMemberId]}));
    if (PatientIsSubscriber(c)) {
      out.Put(AddressSegment(sub[Subscriber::sAddress1], ""));
      out.Put(CityStateZipSegment(sub[Subscriber::sCity], sub[Subscriber::sState],
                                  sub[Subscriber::sZip], true));
    }
    std::string birth = FirstNotEmpty(DateToCCYYMMDD(sub[Subscriber::sBirthDate]),
                                      DateToCCYYMMDD(pat[Patient::sBirthDate]), kUnknownBirthDate);
    std::string gender =
        FirstNotEmpty(sub[Subscriber::sGender], pat[Patient::sGender], kUnknownGender);
    out.Put(Demographics(birth, gender));
    return out.Status();
  } catch (...) {
    AddFailureMessage(c.host, " WriteSubscriberName() Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t WritePayer(const WriterCtx& c) {
  try {
    LogLine(c.host, "@@ Writing Payer  LOOP 2010BB ");
    const InsuranceRec& ins = c.records.g_LastTop.Insurance;
    LoopWriter out(c);

    out.Put(NameSegment("PR", "2", {ins[Insurance::sPayerName], "", "", ""},
                        {"PI", FirstNotEmpty(ins[Insurance::sPayerId], "", kUnknownPayerId)}));
    out.Put(AddressSegment(ins[Insurance::sAddress1], ins[Insurance::sAddress2]));
    out.Put(CityStateZipSegment(ins[Insurance::sCity], ins[Insurance::sState], ins[Insurance::sZip],
                                false));
    return out.Status();
  } catch (...) {
    AddFailureMessage(c.host, " WritePayer() Error: ", std::current_exception());
    return 3;
  }
}

std::int16_t WritePatient(const WriterCtx& c) {
  try {
    LogLine(c.host, "@@ PAT  write patient LOOP 2000C");
    const PatientRec& pat = c.records.g_LastTop.Patient;
    EnvelopeMembers& env = c.env;
    LoopWriter out(c);

    ++env.miHLCount;
    out.Put(Hierarchy(env.miHLCount, env.miSubscriberHL, "23", "0"));
    out.Put(SegmentText("PAT").Add(
        PatientRelationshipCode(c.records.g_LastTop.Subscriber[Subscriber::sRelationship])));
    out.Put(NameSegment("QC", "1",
                        {pat[Patient::sLastName], pat[Patient::sFirstName],
                         pat[Patient::sMiddleName], pat[Patient::sSuffix]},
                        {"MI", pat[Patient::sMemberId]}));
    out.Put(AddressSegment(pat[Patient::sAddress1], pat[Patient::sAddress2]));
    out.Put(
        CityStateZipSegment(pat[Patient::sCity], pat[Patient::sState], pat[Patient::sZip], true));
    out.Put(
        Demographics(FirstNotEmpty(DateToCCYYMMDD(pat[Patient::sBirthDate]), "", kUnknownBirthDate),
                     FirstNotEmpty(pat[Patient::sGender], "", kUnknownGender)));
    return out.Status();
  } catch (...) {
    AddFailureMessage(c.host, " WritePatient() Error: ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
