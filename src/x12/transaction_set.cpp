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

std::string Trim(const std::string& text) {
  return CutTrim(text, text.size());
}

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
std::string BillingProviderName(BillingBlock& b, const TopRecords& top) {
  b.sSecondaryIDQual.clear();
  b.sSecondaryID.clear();
  if (!b.bIsPerson) {
    const PracticeRec& p = top.Practice;
    std::string nm1 = "NM1*85*2*" + CutTrim(p[Practice::sName], kOrgNameLen) + "*****";
    if (!p[Practice::sNPI].empty()) {
      b.sSecondaryIDQual = "24";
      b.sSecondaryID = p[Practice::sTaxId];
      return nm1 + "XX*" + p[Practice::sNPI];
    }
    if (!p[Practice::sTaxId].empty()) return nm1 + "24*" + p[Practice::sTaxId];
    return nm1;
  }
  const BProviderRec& p = top.BProvider;
  std::string nm1 = "NM1*85*1*" + CutTrim(p[BProvider::sLastName], kLastNameLen) + "*" +
                    CutTrim(p[BProvider::sFirstName], kFirstNameLen) + "*" +
                    CutTrim(p[BProvider::sMiddleName], kMiddleLen) + "**" +
                    CutTrim(p[BProvider::sSuffix], kSuffixLen) + "*";
  if (!p[BProvider::sTaxId].empty()) {
    b.sSecondaryIDQual = "24";
    b.sSecondaryID = p[BProvider::sTaxId];
  } else if (!p[BProvider::sSSN].empty()) {
    b.sSecondaryIDQual = "34";
    b.sSecondaryID = p[BProvider::sSSN];
  }
  if (!p[BProvider::sNPI].empty()) return nm1 + "XX*" + p[BProvider::sNPI];
  nm1 += b.sSecondaryIDQual + "*" + b.sSecondaryID;
  b.sSecondaryIDQual.clear();
  b.sSecondaryID.clear();
  return nm1;
}

// The segments of ST through the billing provider level, in order.
std::vector<std::string> TransactionSetHeader(Ctx& c, const TopRecords& top, BillingBlock& b) {
  const SubmitterRec& sub = top.Submitter;
  std::vector<std::string> segs;

  segs.push_back("ST*837*" + TransactionSetControlNumber(c.o));
  DateTime now = Now();
  segs.push_back(fmt::format("BHT*0019*00*{}*{:04}{:02}{:02}*{:02}{:02}{:02}*CH",
                             c.o.miSubmissionNumber, now.year, now.month, now.day, now.hour,
                             now.minute, now.second));
  segs.push_back("REF*87*004010X098A1");

  // 1000A submitter, 1000B receiver.
  segs.push_back("NM1*41*2*" + CutTrim(sub[Submitter::sName], kOrgNameLen) + "*****46*" +
                 sub[Submitter::sSubmitterId]);
  const Text phone = sub[Submitter::sPhone];
  segs.push_back("PER*IC*" + sub[Submitter::sContactName] + "*TE*" +
                 (phone.empty() ? std::string("0000000000") : sub[Submitter::sAreaCode] + phone));
  std::string receiver = CutTrim(sub[Submitter::sReceiverName], kOrgNameLen);
  if (receiver.empty()) receiver = "RECEIVER NAME";
  segs.push_back("NM1*40*2*" + receiver + "*****46*" + sub[Submitter::sReceiverId]);

  // 2000A billing provider level and 2010AA.
  c.o.env.miHLCount = 1;
  segs.push_back("HL*1**20*1");
  c.o.env.miProviderHL = 1;
  segs.push_back(BillingProviderName(b, top));
  segs.push_back("N3*" + b.sAddress1 + (b.sAddress2.empty() ? "" : "*" + b.sAddress2));
  segs.push_back("N4*" + b.sCity + "*" + b.sState + "*" +
                 (b.sZip.empty() ? std::string("00000") : b.sZip));
  if (!b.sSecondaryIDQual.empty() && !b.sSecondaryID.empty()) {
    segs.push_back(std::string("REF*") + (b.sSecondaryIDQual == "34" ? "SY" : "EI") + "*" +
                   b.sSecondaryID);
  }
  std::string qualifier = PayerProviderIDQualifier(top.Insurance[Insurance::sInsuranceCategoryCd]);
  if (!qualifier.empty() && !c.g.ref.LegacyDatePassed) {
    const std::string& number = UsesFirstPayerProviderID(top.CalcPref)
                                    ? top.Insurance[Insurance::sPayerProviderId1]
                                    : top.Insurance[Insurance::sPayerProviderId2];
    segs.push_back("REF*" + qualifier + "*" + (number.empty() ? std::string("00000") : number));
  }
  // The billing contact; a phone of blanks only would leave TE without a number.
  const PracticeRec& p = top.Practice;
  std::string practicePhone = Trim(p[Practice::sPhone]);
  if (!practicePhone.empty()) {
    segs.push_back("PER*IC**TE*" + Trim(p[Practice::sAreaCode]) + practicePhone);
  }
  return segs;
}

}  // namespace

std::int16_t SetUpBATCH(Ctx& c) {
  try {
    HostState& h = c.g.host;
    EnvelopeMembers& env = c.o.env;
    LogLine(h, "SetUpBATCH()");
    // The records this header reads, without separator characters in their values.
    TopRecords top;
    top.Practice = WithoutSeparators(c.g.g_LastTop.Practice);
    top.Submitter = WithoutSeparators(c.g.g_LastTop.Submitter);
    top.BProvider = WithoutSeparators(c.g.g_LastTop.BProvider);
    top.Insurance = WithoutSeparators(c.g.g_LastTop.Insurance);
    top.CalcPref = c.g.g_LastTop.CalcPref;
    std::int16_t option = TextToInt16(top.CalcPref[CalcPref::sBillingOption]);
    BillingBlock& b = env.billing;
    if (option % 2 == 0) {
      FillFromPractice(b, top);
    } else {
      FillFromBProvider(b, top);
    }
    c.g.writer.SegmentCount = 0;
    ++env.miBatchCount;
    LogLine(h, "@@ ST Batch Header " + SignedText(option));
    for (const std::string& seg : TransactionSetHeader(c, top, b)) {
      if (WriteCountedSegment(c, seg) == 3) return 3;
    }
    return 0;
  } catch (...) {
    AddFailureMessage(c.g.host, " SetUpBATCH() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
