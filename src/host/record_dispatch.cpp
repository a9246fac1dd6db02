// The record types FormatRecord knows and the routine each one is handed to.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "claim/generations.h"
#include "claim/tables.h"
#include "host/component.h"
#include "records/numeric.h"
#include "records/parsers.h"
#include "records/text.h"
#include "refdata/lookups.h"
#include "reports/nac_file.h"
#include "state/messages.h"
#include "state/runlog.h"

namespace wcomp837 {
namespace {

using Handler = std::int16_t (*)(Ctx&, const std::string&);

struct Route {
  std::string_view type;
  Handler handler;
};

std::int16_t TakePractice(Ctx& c, const std::string& rec) {
  std::int16_t result = ParsePracticeRec(c, rec, c.g.records.g_ThisTop.Practice);
  // Every practice of the batch gets its header in the _NAC.Dat file.
  const Text code = c.g.records.g_ThisTop.Practice[Practice::sPracticeCode];
  if (code != c.o.msLastNACPractice) {
    if (WriteNACPracticeHeader(c.g.host, c.g.records.g_ThisTop.Practice, c.o.msLastNACPractice) ==
        3)
      result = 3;
    c.o.msLastNACPractice = code;
  }
  return result;
}

std::int16_t TakeSubmitter(Ctx& c, const std::string& rec) {
  return ParseSubmitterRec(c, rec, c.g.records.g_ThisTop.Submitter);
}
std::int16_t TakeBProvider(Ctx& c, const std::string& rec) {
  return ParseBProviderRec(c, rec, c.g.records.g_ThisTop.BProvider);
}
std::int16_t TakeInsurance(Ctx& c, const std::string& rec) {
  return ParseInsuranceRec(c, rec, c.g.records.g_ThisTop.Insurance, 0);
}
std::int16_t TakeCalcPref(Ctx& c, const std::string& rec) {
  return ParseCalcPrefRec(c, rec, c.g.records.g_ThisTop.CalcPref);
}
std::int16_t TakeBreakPref(Ctx& c, const std::string& rec) {
  return ParseBreakPrefRec(c, rec, c.g.records.g_ThisTop.BreakPref);
}
std::int16_t TakePatient(Ctx& c, const std::string& rec) {
  return ParsePatientRec(c, rec, c.g.records.g_ThisTop.Patient);
}
std::int16_t TakeSubscriber(Ctx& c, const std::string& rec) {
  return ParseSubscriberRec(c, rec, c.g.records.g_ThisTop.Subscriber);
}

// Claim-level extended data, slots 1-5 (types 5010 ... 5018).
template <int kSlot>
std::int16_t ClaimExtData(Ctx& c, const std::string& rec) {
  return ParseExtDataRec(c, rec, c.g.records.g_ThisTop.ExtData[kSlot - 1]);
}
// Charge-level extended data: first set 6010 ... 6018, second set 6020 ... 6028.
template <int kSlot>
std::int16_t FirstSetExtData(Ctx& c, const std::string& rec) {
  return ParseExtDataRec(c, rec, c.g.records.g_ThisGroup.FirstSet(kSlot));
}
template <int kSlot>
std::int16_t SecondSetExtData(Ctx& c, const std::string& rec) {
  return ParseExtDataRec(c, rec, c.g.records.g_ThisGroup.SecondSet(kSlot));
}

// A charge starts a new group.
std::int16_t TakeCharge(Ctx& c, const std::string& rec) {
  EmptyThisGroup(c);
  c.g.host.glChargeRecordNr = c.g.host.glRecordCount;
  return ParseChargeRec(c, rec, c.g.records.g_ThisGroup.Charge);
}
std::int16_t TakeCustomForm(Ctx& c, const std::string& rec) {
  return ParseCCFormRec(c, rec, c.g.records.g_ThisGroup);
}
std::int16_t TakeAmbulance(Ctx& c, const std::string& rec) {
  return ParseAmbulanceRec(c, rec, c.g.records.g_ThisGroup.Ambulance);
}
std::int16_t TakeChiropractor(Ctx& c, const std::string& rec) {
  return ParseChiropractorRec(c, rec, c.g.records.g_ThisGroup.Chiropractor);
}
std::int16_t TakeSProvider(Ctx& c, const std::string& rec) {
  return ParseSProviderRec(c, rec, c.g.records.g_ThisGroup.SProvider);
}
std::int16_t TakeOProvider(Ctx& c, const std::string& rec) {
  return ParseOProviderRec(c, rec, c.g.records.g_ThisGroup.OProvider);
}
std::int16_t TakeReferral(Ctx& c, const std::string& rec) {
  return ParseReferralRec(c, rec, c.g.records.g_ThisGroup.Referral);
}
std::int16_t TakeOReferral(Ctx& c, const std::string& rec) {
  return ParseOReferralRec(c, rec, c.g.records.g_ThisGroup.OReferral);
}

// The practice's facility option decides whether a facility record counts:
// "1" never, "2" not for office or home services (place of service 11, 12).
bool FacilityWanted(const SharedState& g) {
  const Text option = g.records.g_ThisTop.CalcPref[CalcPref::sFacilityOption];
  if (option == "1") return false;
  if (option == "2") {
    const Text pos = g.records.g_ThisGroup.Charge[Charge::sPOSCode];
    return pos != "11" && pos != "12";
  }
  return true;
}

std::int16_t TakeFacility(Ctx& c, const std::string& rec) {
  if (!FacilityWanted(c.g)) return 0;
  return ParseFacilityRec(c, rec, c.g.records.g_ThisGroup.Facility);
}

// Other insurance k is read only when the billed insurance's position lies
// beyond it (insurance 1 always).
template <std::size_t kSlot>
std::int16_t OtherInsurance(Ctx& c, const std::string& rec) {
  if (kSlot > 1 && NumericValue(c.g.records.g_ThisGroup.Charge[Charge::sBillingInsIndex]) <=
                       static_cast<double>(kSlot)) {
    return 0;
  }
  return ParseOInsuranceRec(c, rec, c.g.records.g_ThisGroup.OIns[kSlot], 0);
}

std::int16_t Accepted(Ctx&, const std::string&) {
  return 0;
}

constexpr std::array<Route, 36> kRoutes = {{
    {"1000", TakePractice},        {"1050", TakeSubmitter},
    {"2000", TakeBProvider},       {"3000", TakeInsurance},
    {"3100", TakeCalcPref},        {"3101", TakeBreakPref},
    {"4000", TakePatient},         {"5000", TakeSubscriber},
    {"5010", ClaimExtData<1>},     {"5012", ClaimExtData<2>},
    {"5014", ClaimExtData<3>},     {"5016", ClaimExtData<4>},
    {"5018", ClaimExtData<5>},     {"6000", TakeCharge},
    {"6005", TakeCustomForm},      {"6010", FirstSetExtData<1>},
    {"6012", FirstSetExtData<2>},  {"6014", FirstSetExtData<3>},
    {"6016", FirstSetExtData<4>},  {"6018", FirstSetExtData<5>},
    {"6020", SecondSetExtData<1>}, {"6022", SecondSetExtData<2>},
    {"6024", SecondSetExtData<3>}, {"6026", SecondSetExtData<4>},
    {"6028", SecondSetExtData<5>}, {"6050", TakeAmbulance},
    {"6060", TakeChiropractor},    {"6100", TakeSProvider},
    {"6110", TakeOProvider},       {"6120", TakeReferral},
    {"6130", TakeOReferral},       {"6200", TakeFacility},
    {"6310", OtherInsurance<1>},   {"6320", OtherInsurance<2>},
    {"6330", OtherInsurance<3>},   {"6340", Accepted},  // other insurance 4: accepted, not used
}};

// Every type is four characters: compared as one number each, first
// character highest, which orders them as texts.
constexpr std::size_t kTypeLength = 4;
constexpr std::uint32_t TypeNumber(std::string_view type) {
  std::uint32_t n = 0;
  for (std::size_t i = 0; i < kTypeLength; ++i) n = n << 8 | static_cast<unsigned char>(type[i]);
  return n;
}

// Looked up by halving: the table is kept in order of type.
static_assert(std::all_of(kRoutes.begin(), kRoutes.end(),
                          [](const Route& r) { return r.type.size() == kTypeLength; }));
static_assert(std::is_sorted(kRoutes.begin(), kRoutes.end(),
                             [](const Route& a, const Route& b) { return a.type < b.type; }));

}  // namespace

std::int16_t DispatchRecord(Ctx& c, std::string_view sType, const std::string& sRec) {
  if (sType.size() == kTypeLength) {
    const std::uint32_t type = TypeNumber(sType);
    const auto* route =
        std::lower_bound(kRoutes.begin(), kRoutes.end(), type,
                         [](const Route& r, std::uint32_t t) { return TypeNumber(r.type) < t; });
    if (route != kRoutes.end() && TypeNumber(route->type) == type) {
      return route->handler(c, sRec);
    }
  }
  LogLine(c.g.host, "FormatRecord() - Didn't know the case type");
  return 0;
}

std::int16_t EndOfChargeGroup(Ctx& c) {
  SharedState& g = c.g;
  HostState& h = g.host;
  h.glChargeRecordNr = 0;  // the host closed the group
  // Without a charge record there is no service line to add: the group's
  // companion records are dropped instead of billing the previous charge again.
  if (!Received(g.records.g_ThisGroup.Charge)) {
    LogLine(h, "End of charge group without a charge record");
    AddToMessageArray(h, kMsgInfo,
                      "Record#" + SignedText(h.glRecordCount) +
                          ": end of charge group (6990) without a charge record (6000); "
                          "no service line was added");
    EmptyThisGroup(c);
    return 1;
  }
  const Text subscriberKeys =
      std::as_const(g.records.g_ThisTop).Subscriber[Subscriber::sIndicatorKeys];
  if (!subscriberKeys.empty()) {
    MemberRef keys = g.records.g_ThisGroup.Charge[Charge::sIndicatorKeys];
    keys += "~";
    keys += subscriberKeys;
  }
  const bool extDataFailed = Append26ExtData(c) == 3;
  ++h.giChargeCount;

  // A claim that could not be written (records missing) answers 3 once this
  // group has been taken in: the batch goes on.
  std::int16_t breakResult = 0;
  if (h.gbFirstCharge) {
    h.gbFirstCharge = false;
    LogLine(h, "1st Charge, not calling CheckBreak()");
  } else {
    breakResult = CheckBreak(c);
    if (breakResult == 3) return 3;
  }

  CopyThisTopToLast(c);
  CopyThisGroupToLast(c);
  MemberRef narrative = g.g_LastGroup().Charge[Charge::sNarrative];
  thread_local std::string stripped;
  thread_local std::string squashed;
  std::string_view text = narrative;
  if (text.starts_with("19-")) {
    stripped = Strip19FromNarrative(h, text);
    text = stripped;
  }
  SquashAllPunctuationInto(h, squashed, text, false, false, "");
  narrative = squashed;

  const std::int16_t result = DealWithLastGroup(c);
  if (result == 3 || breakResult != 0) return 3;
  // The extended-data message is in the list; the host must look at it.
  return (result == 0 && extDataFailed) ? 1 : result;
}

}  // namespace wcomp837
