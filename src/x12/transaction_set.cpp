// The transaction set header: ST, BHT, the submitter and receiver loops and
// the billing provider level, with the billing provider block it fills.
#include <fmt/format.h>

#include <vector>

#include "platform/clock.h"
#include "records/numeric.h"
#include "records/text.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "x12/code_tables.h"
#include "x12/control_numbers.h"
#include "x12/envelopes.h"
#include "x12/segment_builder.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

constexpr std::size_t kOrgNameLen = 35;
constexpr std::size_t kLastNameLen = 35;
constexpr std::size_t kFirstNameLen = 25;
constexpr std::size_t kMiddleLen = 1;
constexpr std::size_t kSuffixLen = 10;

// The payer-assigned number of the billing provider REF: field 17 for the
// billing options 0, 3 and 4, field 18 otherwise.
bool UsesFirstPayerProviderID(const CalcPrefRec& pref) {
  const Text option = pref[CalcPref::sBillingOption];
  return option == "0" || option == "3" || option == "4";
}

void FillFromPractice(BillingBlock& b, const TopRecords& top) {
  const PracticeRec& p = top.Practice;
  b.bIsPerson = false;
  b.sLastOrOrgName = p[Practice::sName];
  b.sFirstName.clear();
  b.sAddress1 = p[Practice::sAddress1];
  b.sAddress2 = p[Practice::sAddress2];
  b.sCity = p[Practice::sCity];
  b.sState = p[Practice::sState];
  b.sZip = p[Practice::sZip];
  b.sNPI.clear();
  b.sPayerProviderID = top.Insurance[Insurance::sPayerProviderId1];
  b.sTaxID = p[Practice::sTaxId];
  b.sPhone = p[Practice::sPhone];
  b.sAreaCode = p[Practice::sAreaCode];
  b.sPhoneExt = p[Practice::sPhoneExt];
}

void FillFromBProvider(BillingBlock& b, const TopRecords& top) {
  const BProviderRec& p = top.BProvider;
  b.bIsPerson = true;
  b.sLastOrOrgName = p[BProvider::sLastName];
  b.sFirstName = p[BProvider::sFirstName];
  b.sAddress1 = p[BProvider::sAddress1];
  b.sAddress2 = p[BProvider::sAddress2];
  b.sCity = p[BProvider::sCity];
  b.sState = p[BProvider::sState];
  b.sZip = p[BProvider::sZip];
  b.sNPI = p[BProvider::sNPI];
  b.sPayerProviderID = top.Insurance[Insurance::sPayerProviderId2];
  b.sTaxID = p[BProvider::sTaxId].empty() ? p[BProvider::sSSN] : p[BProvider::sTaxId];
  b.sPhone = p[BProvider::sPhone];
  b.sAreaCode = p[BProvider::sAreaCode];
  b.sPhoneExt = p[BProvider::sPhoneExt];
}

// NM1 of loop 2010AA; sets the secondary identifier the REF after N4 carries.
SegmentText BillingProviderName(BillingBlock& b, const TopRecords& top) {
  b.sSecondaryIDQual.clear();
  b.sSecondaryID.clear();
  SegmentText nm1("NM1");
  if (!b.bIsPerson) {
    const PracticeRec& p = top.Practice;
    nm1.Add("85").Add("2").Add(CutTrim(p[Practice::sName], kOrgNameLen));
    nm1.Add("").Add("").Add("").Add("");
    if (!p[Practice::sNPI].empty()) {
      b.sSecondaryIDQual = "24";
      b.sSecondaryID = p[Practice::sTaxId];
      nm1.Add("XX").Add(p[Practice::sNPI]);
    } else if (!p[Practice::sTaxId].empty()) {
      nm1.Add("24").Add(p[Practice::sTaxId]);
    }
    return nm1;
  }
  const BProviderRec& p = top.BProvider;
  nm1.Add("85")
      .Add("1")
      .Add(CutTrim(p[BProvider::sLastName], kLastNameLen))
      .Add(CutTrim(p[BProvider::sFirstName], kFirstNameLen))
      .Add(CutTrim(p[BProvider::sMiddleName], kMiddleLen))
      .Add("")
      .Add(CutTrim(p[BProvider::sSuffix], kSuffixLen));
  if (!p[BProvider::sTaxId].empty()) {
    b.sSecondaryIDQual = "24";
    b.sSecondaryID = p[BProvider::sTaxId];
  } else if (!p[BProvider::sSSN].empty()) {
    b.sSecondaryIDQual = "34";
    b.sSecondaryID = p[BProvider::sSSN];
  }
  if (!p[BProvider::sNPI].empty()) {
    nm1.Add("XX").Add(p[BProvider::sNPI]);
    return nm1;
  }
  nm1.Add(b.sSecondaryIDQual).Add(b.sSecondaryID);
  b.sSecondaryIDQual.clear();
  b.sSecondaryID.clear();
  return nm1;
}

// The segments of ST through the billing provider level, in order.
std::int16_t WriteTransactionSetHeader(const WriterCtx& c, const TopRecords& top, BillingBlock& b) {
  const SubmitterRec& sub = top.Submitter;
  LoopWriter out(c);
  out.Put(SegmentText("ST").Add("837").Add(TransactionSetControlNumber(c)));
  const DateTime now = Now();
  fmt::memory_buffer bht;
  fmt::format_to(std::back_inserter(bht), "BHT*0019*00*{}*{:04}{:02}{:02}*{:02}{:02}{:02}*CH",
                 c.miSubmissionNumber, now.year, now.month, now.day, now.hour, now.minute,
                 now.second);
  out.Put(std::string_view(bht.data(), bht.size()));
  out.Put(SegmentText("REF").Add("87").Add("004010X098A1"));

  // 1000A submitter, 1000B receiver.
  out.Put(SegmentText("NM1")
              .Add("41")
              .Add("2")
              .Add(CutTrim(sub[Submitter::sName], kOrgNameLen))
              .Add("")
              .Add("")
              .Add("")
              .Add("")
              .Add("46")
              .Add(sub[Submitter::sSubmitterId]));
  const Text phone = sub[Submitter::sPhone];
  SegmentText per("PER");
  per.Add("IC").Add(sub[Submitter::sContactName]).Add("TE");
  if (phone.empty()) {
    per.Add("0000000000");
  } else {
    per.AddJoined(sub[Submitter::sAreaCode], phone);
  }
  out.Put(per);
  Text receiver = CutTrim(sub[Submitter::sReceiverName], kOrgNameLen);
  if (receiver.empty()) receiver = "RECEIVER NAME";
  out.Put(SegmentText("NM1")
              .Add("40")
              .Add("2")
              .Add(receiver)
              .Add("")
              .Add("")
              .Add("")
              .Add("")
              .Add("46")
              .Add(sub[Submitter::sReceiverId]));

  // 2000A billing provider level and 2010AA.
  c.env.miHLCount = 1;
  out.Put(std::string_view("HL*1**20*1"));
  c.env.miProviderHL = 1;
  out.Put(BillingProviderName(b, top));
  out.Put(SegmentText("N3").Add(b.sAddress1).Add(b.sAddress2));
  out.Put(SegmentText("N4").Add(b.sCity).Add(b.sState).Add(b.sZip.empty() ? "00000" : b.sZip));
  if (!b.sSecondaryIDQual.empty() && !b.sSecondaryID.empty()) {
    out.Put(SegmentText("REF").Add(b.sSecondaryIDQual == "34" ? "SY" : "EI").Add(b.sSecondaryID));
  }
  const Text qualifier = PayerProviderIDQualifier(top.Insurance[Insurance::sInsuranceCategoryCd]);
  if (!qualifier.empty() && !c.ref.LegacyDatePassed) {
    const Text number = UsesFirstPayerProviderID(top.CalcPref)
                            ? top.Insurance[Insurance::sPayerProviderId1]
                            : top.Insurance[Insurance::sPayerProviderId2];
    out.Put(SegmentText("REF").Add(qualifier).Add(number.empty() ? "00000" : number));
  }
  // The billing contact; a phone of blanks only would leave TE without a number.
  const PracticeRec& p = top.Practice;
  const std::string_view practicePhone = TrimView(p[Practice::sPhone]);
  if (!practicePhone.empty()) {
    out.Put(SegmentText("PER").Add("IC").Add("").Add("TE").AddJoined(
        TrimView(p[Practice::sAreaCode]), practicePhone));
  }
  return out.Status();
}

}  // namespace

std::int16_t SetUpBATCH(const WriterCtx& c) {
  try {
    HostState& h = c.host;
    EnvelopeMembers& env = c.env;
    LogLine(h, "SetUpBATCH()");
    // The records this header reads, without separator characters in their
    // values (the billing block keeps them for the claim loops).
    thread_local TopRecords top;
    CleanInto(top.Practice, c.records.g_LastTop.Practice);
    CleanInto(top.Submitter, c.records.g_LastTop.Submitter);
    CleanInto(top.BProvider, c.records.g_LastTop.BProvider);
    CleanInto(top.Insurance, c.records.g_LastTop.Insurance);
    top.CalcPref = c.records.g_LastTop.CalcPref;
    std::int16_t option = TextToInt16(top.CalcPref[CalcPref::sBillingOption]);
    BillingBlock& b = env.billing;
    if (option % 2 == 0) {
      FillFromPractice(b, top);
    } else {
      FillFromBProvider(b, top);
    }
    c.writer.SegmentCount = 0;
    ++env.miBatchCount;
    LogLine(h, {"@@ ST Batch Header ", Signed(option)});
    return WriteTransactionSetHeader(c, top, b);
  } catch (...) {
    AddFailureMessage(c.host, " SetUpBATCH() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
