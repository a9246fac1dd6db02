// The "this" and "last" record generations: copying a completed charge and
// its top records to last, and writing the claim built so far.
#include "claim/generations.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "claim/tables.h"
#include "records/numeric.h"
#include "records/parsers.h"
#include "refdata/lookups.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/envelopes.h"
#include "x12/loops.h"

namespace wcomp837 {
namespace {

// Copies a received top record to last and raises its NeedNew flag.
template <std::size_t N>
void CopyIfReceived(Rec<N>& last, const Rec<N>& fresh, bool* flag) {
  if (!Received(fresh)) return;
  last = fresh;
  if (flag != nullptr) *flag = true;
}

// The charge amount as the run log shows it: "000000.00".
class LogAmount {
 public:
  explicit LogAmount(Currency amount) {
    // Four decimals to two, halves away from zero; at least six whole digits.
    const std::uint64_t cents = amount.magnitude() / 100 + (amount.magnitude() % 100 >= 50);
    char digits[24];
    const auto n = static_cast<std::size_t>(
        std::to_chars(digits, digits + sizeof digits, cents / 100).ptr - digits);
    if (amount.raw() < 0) text_[size_++] = '-';
    for (std::size_t pad = n; pad < 6; ++pad) text_[size_++] = '0';
    for (std::size_t i = 0; i < n; ++i) text_[size_++] = digits[i];
    text_[size_++] = '.';
    text_[size_++] = static_cast<char>('0' + cents % 100 / 10);
    text_[size_++] = static_cast<char>('0' + cents % 10);
  }
  operator std::string_view() const { return {text_, size_}; }

 private:
  char text_[40];
  std::size_t size_ = 0;
};

// The group copy below names every member; a member added to ChargeGroup
// must be added there too.
static_assert(sizeof(ChargeGroup) ==
              sizeof(ChargeRec) + sizeof(std::array<ExtDataRec, 10>) + sizeof(AmbulanceRec) +
                  sizeof(ChiropractorRec) + sizeof(SProviderRec) + sizeof(OProviderRec) +
                  sizeof(ReferralRec) + sizeof(OReferralRec) + sizeof(FacilityRec) +
                  sizeof(std::array<OInsuranceRec, 5>) + sizeof(std::shared_ptr<CCFormInfoArray>));

std::int16_t WriteServiceLines(const WriterCtx& w) {
  ClaimState& cs = w.claim;
  for (std::size_t idx = 1; idx < cs.DETAILArray.size(); ++idx) {
    const DetailLine& line = cs.DETAILArray[idx];
    if (line.sUsed != "Y") break;
    LogLine(w.host, {">> Procedure: ", line.sProcedureCode, " ", LogAmount(line.curCharge)});
    if (Write_Detail_Records(w, static_cast<std::int16_t>(idx)) == 3) return 3;
  }
  return 0;
}

void CleanUpAfterClaim(Ctx& c) {
  HostState& h = c.g.host;
  ClaimState& cs = c.g.claim;
  cs.NeedNewPractice = false;
  cs.NeedNewSubmitter = false;
  cs.NeedNewProvider = false;
  cs.NeedNewInsurance = false;
  cs.NeedNewSubscriber = false;
  if (c.o.mbNeedNewProviderAfterThisClaim) {
    cs.NeedNewProvider = true;
    LogLine(h,
            "Clean_Up: setting gbneednewprovider (submitter) to true because "
            "mbNeedNewProviderAfterThisClaim is true");
    cs.NeedNewInsurance = true;
    cs.NeedNewPatient = true;
    cs.NeedNewSubscriber = true;
    c.o.mbNeedNewProviderAfterThisClaim = false;
    LogLine(h, "Clean_Up: mbNeedNewProviderAfterThisClaim set to False");
  }
  EmptyLastGroup(c, c.g.g_LastGroup());
  ResetClaimTables(c);
  LogLine(h, "gDiagArray and DETAILArray are now Empty");
}

// The records of the last generation that the claim cannot be written
// without, as a message names them; empty when all arrived. The billing
// provider record is needed when the billing option bills under it.
std::string MissingTopRecords(const TopRecords& top) {
  const bool billsUnderProvider = TextToInt16(top.CalcPref[CalcPref::sBillingOption]) % 2 != 0;
  const std::pair<bool, const char*> needed[] = {
      {Received(top.Practice), "practice (1000)"},
      {Received(top.Submitter), "submitter (1050)"},
      {Received(top.BProvider) || !billsUnderProvider, "billing provider (2000)"},
      {Received(top.Insurance), "insurance (3000)"},
      {Received(top.CalcPref), "calculation preferences (3100)"},
      {Received(top.Patient), "patient (4000)"},
      {Received(top.Subscriber), "subscriber (5000)"}};
  std::string missing;
  for (const auto& [received, name] : needed) {
    if (received) continue;
    if (!missing.empty()) missing += ", ";
    missing += name;
  }
  return missing;
}

bool HasServiceLine(const ClaimState& cs) {
  return cs.DETAILArray.size() > 1 && cs.DETAILArray[1].sUsed == "Y";
}

// A claim that cannot be written whole is not written at all: the host is
// told which claim and why, its lines are dropped, and the envelope levels
// it would have opened are left for the next claim to open.
std::int16_t DropClaim(Ctx& c, const std::string& reason) {
  HostState& h = c.g.host;
  const Text account = c.g.records.g_LastTop.Patient[Patient::sAccountNr];
  LogLine(h, "WriteClaim: claim not written, " + reason);
  AddToMessageArray(h, kMsgError,
                    "Claim for account " + (account.empty() ? Text("(none)") : account) +
                        " was not written: " + reason);
  EmptyLastGroup(c, c.g.g_LastGroup());
  ResetClaimTables(c);
  ClearClaimRecord(c.g.claim);
  return 1;
}

}  // namespace

void CopyThisTopToLast(Ctx& c) {
  HostState& h = c.g.host;
  try {
    const TopRecords& fresh = c.g.records.g_ThisTop;
    TopRecords& last = c.g.records.g_LastTop;
    ClaimState& cs = c.g.claim;
    const bool insuranceCopied = Received(fresh.Insurance);

    CopyIfReceived(last.Practice, fresh.Practice, &cs.NeedNewPractice);
    CopyIfReceived(last.Submitter, fresh.Submitter, &cs.NeedNewSubmitter);
    CopyIfReceived(last.BProvider, fresh.BProvider, &cs.NeedNewProvider);
    CopyIfReceived(last.Insurance, fresh.Insurance, &cs.NeedNewInsurance);
    CopyIfReceived(last.CalcPref, fresh.CalcPref, nullptr);
    CopyIfReceived(last.BreakPref, fresh.BreakPref, nullptr);
    CopyIfReceived(last.Patient, fresh.Patient, &cs.NeedNewPatient);
    CopyIfReceived(last.Subscriber, fresh.Subscriber, &cs.NeedNewSubscriber);
    for (std::size_t k = 0; k < fresh.ExtData.size(); ++k) {
      CopyIfReceived(last.ExtData[k], fresh.ExtData[k], nullptr);
    }

    // The insurance parser may have put an alternate NPI into the this
    // practice: a new insurance can change the billing NPI.
    if (insuranceCopied && fresh.Practice[Practice::sNPI] != last.Practice[Practice::sNPI]) {
      last.Practice[Practice::sNPI] = fresh.Practice[Practice::sNPI];
    }
    if (cs.NeedNewInsurance) {
      NPILegacyDate(c, last.Insurance[Insurance::sPayerId],
                    last.Insurance[Insurance::sInsuranceCode]);
    }

    const std::pair<bool, const char*> flags[] = {{cs.NeedNewPractice, " ** NeedNewPractice"},
                                                  {cs.NeedNewSubmitter, " ** NeedNewSubmitter"},
                                                  {cs.NeedNewProvider, " ** NeedNewProvider"},
                                                  {cs.NeedNewInsurance, " ** NeedNewInsurance"},
                                                  {cs.NeedNewPatient, " ** NeedNewPatient"},
                                                  {cs.NeedNewSubscriber, " ** NeedNewSubscriber"}};
    for (const auto& [set, text] : flags) {
      if (set) LogLine(h, text);
    }
    EmptyThisTop(c);
  } catch (...) {
    AddFailureMessage(h, " CopyThisTopToLast() Error: ", std::current_exception());
  }
}

void CopyThisGroupToLast(Ctx& c) {
  HostState& h = c.g.host;
  try {
    // The line the last group became keeps it: the new last group is
    // handed over into the spare one.
    c.g.claim.iLastGroupLine = 0;
    ChargeGroup& fresh = c.g.records.g_ThisGroup;
    ChargeGroup& last = c.g.g_LastGroup();
    // Records that EmptyThisGroup clears whole are swapped in; the others
    // are handed over keeping the members EmptyThisGroup keeps. The charge
    // keeps all but its received mark and is copied.
    last.Charge = fresh.Charge;
    swap(last.ExtData, fresh.ExtData);
    swap(last.Ambulance, fresh.Ambulance);
    swap(last.Chiropractor, fresh.Chiropractor);
    HandOverSProviderRec(last.SProvider, fresh.SProvider);
    swap(last.OProvider, fresh.OProvider);
    swap(last.Referral, fresh.Referral);
    HandOverOReferralRec(last.OReferral, fresh.OReferral);
    HandOverFacilityRec(last.Facility, fresh.Facility);
    last.OIns[0] = fresh.OIns[0];  // unused, and not cleared with the group
    for (std::size_t k = 1; k < last.OIns.size(); ++k) {
      HandOverOInsuranceRec(last.OIns[k], fresh.OIns[k]);
    }
    last.CustomForms = fresh.CustomForms;  // shared, not duplicated
    c.g.records.LastFollowed = c.g.records.ThisFollowed;
    c.g.records.LastFollowedCode = c.g.records.ThisFollowedCode;

    LogLine(h, {"**CopyThisGroupToLast - LastFollowed and This-Followed are both: ",
                BoolWord(c.g.records.ThisFollowed)});
    LogLine(h, "g_ThisGroup Copied to Last");
    EmptyThisGroup(c);
  } catch (...) {
    AddFailureMessage(h, " CopyThisGroupToLast() Error: ", std::current_exception());
  }
}

std::int16_t WriteClaim(Ctx& c) {
  HostState& h = c.g.host;
  try {
    LogLine(h, "WriteClaim()");
    const std::string missing = MissingTopRecords(c.g.records.g_LastTop);
    if (!missing.empty()) return DropClaim(c, "no " + missing + " record was received");
    if (!HasServiceLine(c.g.claim)) return DropClaim(c, "it has no service line");
    // The loop writers of this claim share one context.
    const WriterCtx w = c;
    if (CheckForOtherRecs(w) == 3) {
      LogLine(h, "WriteClaim Had an Error in CheckForOtherRecs()");
      return 3;
    }
    c.o.env.miClaimCount += 1;
    h.glTotalClaims += 1;
    c.g.claim.iDetailCursor = 0;

    const TopRecords& last = c.g.records.g_LastTop;
    LogLine(h, {">> Writing Claim for: ", last.Patient[Patient::sLastName], ", ",
                last.Patient[Patient::sFirstName]});

    if (WriteSubscriber(w) == 3 || WriteSubscriberName(w) == 3 || WritePayer(w) == 3) return 3;
    if (last.Subscriber[Subscriber::sRelationship] != "SLF" && WritePatient(w) == 3) return 3;
    if (WriteClaimHeader(w) == 3 || WriteOtherInsurances(w) == 3) return 3;
    if (WriteServiceLines(w) == 3) return 3;

    LogLine(h, "WriteClaimTrailer() being called by WriteClaim()");
    if (WriteClaimTrailer(w) == 3) return 3;
    CleanUpAfterClaim(c);
    return 0;
  } catch (...) {
    AddFailureMessage(h, " WriteClaim() Error: ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
