// Claim breaks: does the charge group just completed (the this generation)
// still belong to the claim built from the last generation?
#include <array>

#include "claim/generations.h"
#include "claim/tables.h"
#include "records/numeric.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

enum class Test {
  kEachCharge,      // the switch alone
  kDetailLines,     // the claim already holds the most lines
  kDiagOverflow,    // the this charge's diagnoses do not fit
  kOtherInsurance,  // field 1 of any other insurance
  kChargeFields,    // charge fields, under a break switch or always
  kReferral,        // referral field 1
  kFacility,        // facility field 1
  kServicingProvider,
  kApprovalNr,
  kMonth,
};

constexpr std::size_t kAlways = static_cast<std::size_t>(-1);

struct BreakTest {
  Test test;
  std::size_t sw;  // BreakPrefRec switch of the last generation, or kAlways
  std::array<std::size_t, 4> fields;
  std::size_t field_count;
  const char* text;
  const char* text2;  // the second wording (secondary approval, month **)
};

namespace B = BreakPref;
namespace C = Charge;

// In the order they are tried; the first that holds decides.
constexpr BreakTest kBreakTests[] = {
    {Test::kEachCharge, B::sBreakOnEachCharge, {}, 0, "True because breaking on each charge", ""},
    {Test::kDetailLines, kAlways, {}, 0, "true because Detail Lines > ", ""},
    {Test::kDiagOverflow, kAlways, {}, 0, "true because Diagnosis Causes Overflow", ""},
    {Test::kOtherInsurance, kAlways, {}, 0, "True because One of the 4 insurances changed", ""},
    {Test::kChargeFields, B::sBreakOnCaseId, {C::sCaseId}, 1, "True because Case ID changed", ""},
    {Test::kReferral, B::sBreakOnReferral, {}, 0, "True because Referral Changed", ""},
    {Test::kFacility, B::sBreakOnFacility, {}, 0, "True because Facility Changed", ""},
    {Test::kServicingProvider, kAlways, {}, 0, "True because Servicing Provider changed", ""},
    {Test::kChargeFields,
     B::sBreakOnInsuranceAction,
     {C::sInsuranceAction},
     1,
     "True because Insurance Action Changed",
     ""},
    {Test::kApprovalNr,
     B::sBreakOnApprovalNr,
     {},
     0,
     "True because Primary Approval # changed",
     "True because Secondary Approval # changed"},
    {Test::kChargeFields,
     B::sBreakOnTOS,
     {C::sTOSBillingCode},
     1,
     "True because TOS BillingCode changed",
     ""},
    {Test::kChargeFields, B::sBreakOnPOS, {C::sPOSCode}, 1, "True because POS Code changed", ""},
    {Test::kChargeFields,
     B::sBreakOnEncounter,
     {C::sEncounter},
     1,
     "True because Encounter Changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnProcedure,
     {C::sProcedureCode},
     1,
     "True because Procedure CPT4 Code changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnModifier,
     {C::sModifier2, C::sModifier1, C::sModifier3, C::sModifier4},
     4,
     "True because a Modifier Billing Code changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnDiagnosis,
     {C::sDiagnosis2, C::sDiagnosis1, C::sDiagnosis3, C::sDiagnosis4},
     4,
     "True because One of the Diagnosis changed",
     ""},
    {Test::kChargeFields,
     kAlways,
     {C::sOnsetDate, C::sOnsetType},
     2,
     "True because the Onset Type or Date changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnAdmissionDate,
     {C::sAdmissionDate},
     1,
     "True because Admission Date changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnDischargeDate,
     {C::sDischargeDate},
     1,
     "True because Discharge Date changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnSendOPReport,
     {C::sSendOPReport},
     1,
     "True because SendOPReport changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnAnesthesiaTimeUnit,
     {C::sAnesthesiaTimeUnit},
     1,
     "True because AnesthesiaTimeUnit changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnAnesthesiaType,
     {C::sAnesthesiaType},
     1,
     "True because Anethesia Type changed",
     ""},
    {Test::kChargeFields,
     B::sBreakOnCapitatedService,
     {C::sCapitatedService},
     1,
     "True because CapitatedService changed",
     ""},
    {Test::kMonth,
     B::sBreakOnMonth,
     {},
     0,
     "True because Month changed *",
     "True because Month changed **"},
};

template <std::size_t N>
bool FieldDiffers(const Rec<N>& a, const Rec<N>& b, std::size_t field) {
  return a[field] != b[field];
}

// Month test on two MMDDCCYY dates; the year is not compared.
const char* MonthBreak(const BreakTest& t, std::string_view last, std::string_view fresh) {
  const bool lastShort = last.size() < 2;
  const bool freshShort = fresh.size() < 2;
  if (lastShort && freshShort) return nullptr;
  if (lastShort != freshShort) return t.text;
  return last.substr(0, 2) != fresh.substr(0, 2) ? t.text2 : nullptr;
}

// The log wording when the test holds, nullptr otherwise.
const char* Holds(Ctx& c, const BreakTest& t) {
  const TopRecords& top = c.g.records.g_LastTop;
  const ChargeGroup& last = c.g.g_LastGroup();
  const ChargeGroup& fresh = c.g.records.g_ThisGroup;
  if (t.sw != kAlways && top.BreakPref[t.sw] != "1") return nullptr;
  const char* text = nullptr;
  switch (t.test) {
    case Test::kEachCharge:
      text = t.text;
      break;
    case Test::kDetailLines:
      if (GetNextDetailIndex(c) > kMaxLinesPerClaim) text = t.text;
      break;
    case Test::kDiagOverflow: {
      std::int16_t iCount = 0;
      if (DoesDiagnosisCauseOverflow(c, iCount)) text = t.text;
      break;
    }
    case Test::kOtherInsurance:
      for (std::size_t i = 1; i <= 4; ++i) {
        if (FieldDiffers(fresh.OIns[i], last.OIns[i], OInsurance::sInsuranceCode)) text = t.text;
      }
      break;
    case Test::kChargeFields:
      for (std::size_t k = 0; k < t.field_count; ++k) {
        if (FieldDiffers(fresh.Charge, last.Charge, t.fields[k])) text = t.text;
      }
      break;
    case Test::kReferral:
      if (FieldDiffers(fresh.Referral, last.Referral, Referral::sProviderCode)) text = t.text;
      break;
    case Test::kFacility:
      if (FieldDiffers(fresh.Facility, last.Facility, Facility::sFacilityCode)) text = t.text;
      break;
    case Test::kServicingProvider:
      if (top.CalcPref[CalcPref::sBreakOnServicingProvider] == "2" &&
          FieldDiffers(fresh.SProvider, last.SProvider, SProvider::sProviderCode)) {
        text = t.text;
      }
      break;
    case Test::kApprovalNr:
      if (last.Charge[C::sBillingInsIndex] == "1") {
        if (FieldDiffers(fresh.Charge, last.Charge, C::sPrimaryApprovalNr)) text = t.text;
      } else if (FieldDiffers(fresh.Charge, last.Charge, C::sSecondaryApprovalNr)) {
        text = t.text2;
      }
      break;
    case Test::kMonth:
      text = MonthBreak(t, last.Charge[C::sFromDate], fresh.Charge[C::sFromDate]);
      break;
  }
  return text;
}

// The payer-assigned provider number the 2010AA REF carries for a generation.
Text PayerProviderNumber(const TopRecords& top) {
  const Text option = top.CalcPref[CalcPref::sBillingOption];
  const bool first = option == "0" || option == "3" || option == "4";
  return top.Insurance[first ? Insurance::sPayerProviderId1 : Insurance::sPayerProviderId2];
}

}  // namespace

bool CheckChargeBreak(Ctx& c) {
  try {
    for (const BreakTest& t : kBreakTests) {
      if (const char* text = Holds(c, t)) {
        // The line limit is written after its wording.
        const Signed limit(kMaxLinesPerClaim);
        LogLine(c.g.host, {"CheckChargeBreak = ", text,
                           t.test == Test::kDetailLines ? std::string_view(limit) : ""});
        return true;
      }
    }
    return false;
  } catch (...) {
    AddFailureMessage(c.g.host, " CheckChargeBreak() Error: ", std::current_exception());
    return false;
  }
}

std::int16_t CheckBreak(Ctx& c) {
  HostState& h = c.g.host;
  try {
    const TopRecords& fresh = c.g.records.g_ThisTop;
    const TopRecords& last = c.g.records.g_LastTop;
    LogLine(h, "CheckBreak()");
    const std::pair<bool, const char*> tops[] = {
        {Received(fresh.Practice), "** CheckBreak saw that Practice changed"},
        {Received(fresh.Submitter), "** CheckBreak saw that Submitter changed"},
        {Received(fresh.BProvider), "** CheckBreak saw that BProvider changed"},
        {Received(fresh.Insurance), "** CheckBreak saw that Insurance changed"},
        {Received(fresh.Patient), "** CheckBreak saw that Patient changed"},
        {Received(fresh.Subscriber), "** CheckBreak saw that Subscriber changed"}};
    bool topBreak = false;
    for (const auto& [received, text] : tops) {
      if (!received) continue;
      LogLine(h, text);
      topBreak = true;
    }

    // A different payer-assigned number (or billing option) must reach a new
    // 2010AA REF: reopen the billing provider level after this claim.
    if (Received(fresh.Insurance) &&
        (PayerProviderNumber(last) != PayerProviderNumber(fresh) ||
         last.CalcPref[CalcPref::sBillingOption] != fresh.CalcPref[CalcPref::sBillingOption])) {
      c.o.mbNeedNewProviderAfterThisClaim = true;
    }

    bool breaking;
    if (topBreak) {
      LogLine(h, " -- Checking Charge even though there's a top level break...");
      CheckChargeBreak(c);
      breaking = true;
    } else {
      LogLine(h, " -- Checking Charge to see if that causes a break...");
      breaking = CheckChargeBreak(c);
    }
    if (!breaking) return 0;
    LogLine(h, "CheckBreak() Thinks there is a charge break");
    return WriteClaim(c);
  } catch (...) {
    AddFailureMessage(h, " CheckBreak() Error: ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
