// Per-insurance amounts of a service line (InsInfo, InsInfoArray) and the
// merging of payment adjustment texts (group|reason|amount|units|...).
#include <algorithm>

#include "claim/tables.h"
#include "platform/failure.h"
#include "platform/prompt.h"
#include "records/numeric.h"
#include "records/text.h"
#include "state/messages.h"

namespace wcomp837 {

// Emptied member by member: the texts keep their capacity, and no empty
// object is built and moved in at every service line. The binding names
// every member, so a member added to the class stops this from compiling
// until it is emptied here too (on every platform, whatever its layout).
void InsInfo::EmptyMe() {
  auto& [used, billing, category, medigap, crossOver, paid, allowed, deductible, writeOff, coIns,
         lastPaymentDate, adjCodes] = *this;
  used = false;
  billing = false;
  category.clear();
  medigap.clear();
  crossOver.clear();
  for (Currency* amount : {&paid, &allowed, &deductible, &writeOff, &coIns}) *amount = Currency();
  lastPaymentDate.clear();
  adjCodes.clear();
}

InsInfoArray::InsInfoArray() {
  Empty_Me();
}

void InsInfoArray::Empty_Me() {
  for (InsInfo& info : items_) info.EmptyMe();
  curAmtPatWriteOff = Currency();
  curAmtPatientPaid = Currency();
}

InsInfo& InsInfoArray::GetInsInfo(std::int16_t n) {
  if (n < 1 || n > static_cast<std::int16_t>(items_.size())) Raise(failure::kSubscript);
  return items_[static_cast<std::size_t>(n - 1)];
}

const InsInfo& InsInfoArray::GetInsInfo(std::int16_t n) const {
  if (n < 1 || n > static_cast<std::int16_t>(items_.size())) Raise(failure::kSubscript);
  return items_[static_cast<std::size_t>(n - 1)];
}

bool InsInfoArray::IsPreviousInsuranceMedicare(std::int16_t iIndex) const {
  static const std::string kMedicare = "MCR";
  if (iIndex == 1) return false;
  if (iIndex < 1 || iIndex > 4) {
    CurrentUserPrompt()->Notify(kComponentBaseName, "IsPreviousInsuranceMedicare index (" +
                                                        SignedText(iIndex) + ") is out of bounds");
    Raise(failure::kSubscript);
  }
  if (GetInsInfo(iIndex).sQELInsuranceCategoryCd == kMedicare) return false;
  return GetInsInfo(static_cast<std::int16_t>(iIndex - 1)).sQELInsuranceCategoryCd == kMedicare;
}

void InsInfoArray::AddToMe(const InsInfoArray& obj) {
  for (std::int16_t i = 1; i <= 4; ++i) {
    const InsInfo& from = obj.GetInsInfo(i);
    if (!from.bUsed) continue;
    InsInfo& to = GetInsInfo(i);
    to.bUsed = true;
    to.bBillingInsurance = from.bBillingInsurance;
    to.sQELInsuranceCategoryCd = from.sQELInsuranceCategoryCd;
    to.sMedigap = from.sMedigap;
    to.sCrossOver = from.sCrossOver;
    to.curAmtPayerPaid += from.curAmtPayerPaid;
    to.curAmtAllowed += from.curAmtAllowed;
    to.curAmtDeductible += from.curAmtDeductible;
    to.curAmtInsWriteOff += from.curAmtInsWriteOff;
    to.curAmtCoIns += from.curAmtCoIns;
    // Dates written year first: the later one wins.
    if (to.sLastPaymentDate < from.sLastPaymentDate) to.sLastPaymentDate = from.sLastPaymentDate;
    AddThePaymentAdjCodes(to.sPaymentAdjCodes, from.sPaymentAdjCodes);
  }
  curAmtPatWriteOff += obj.curAmtPatWriteOff;
  curAmtPatientPaid += obj.curAmtPatientPaid;
}

namespace {

// The adjustments of an adjustment text into list (cleared first; its
// capacity is reused). An incomplete last adjustment is ignored.
void ParseInto(std::string_view text, std::vector<PaymentAdjStruct>& list) {
  thread_local std::vector<std::string_view> values;
  SplitAt(text, '|', values);
  list.clear();
  for (std::size_t i = 0; i + 4 <= values.size(); i += 4) {
    PaymentAdjStruct& adj = list.emplace_back();
    adj.sGroup = values[i];
    adj.sReason = values[i + 1];
    adj.curAmount = Currency::FromText(std::string(values[i + 2]));
    adj.dfUnit = NumericValue(values[i + 3]);
  }
}

}  // namespace

std::vector<PaymentAdjStruct> InsInfoArray::ParsePaymentAdjCodes(const std::string& text) {
  std::vector<PaymentAdjStruct> list;
  ParseInto(text, list);
  return list;
}

void InsInfoArray::SortPaymentAdjCodes(std::vector<PaymentAdjStruct>& list) {
  // By group, keeping the order within a group; an insertion sort needs no
  // room of its own and the lists are short.
  for (std::size_t i = 1; i < list.size(); ++i) {
    for (std::size_t j = i; j > 0 && list[j].sGroup < list[j - 1].sGroup; --j) {
      std::swap(list[j], list[j - 1]);
    }
  }
}

void InsInfoArray::AddThePaymentAdjCodes(std::string& sExisting, const std::string& sNew) {
  if (sNew.empty()) return;
  thread_local std::vector<PaymentAdjStruct> merged;
  thread_local std::vector<PaymentAdjStruct> added;
  thread_local std::string text;
  ParseInto(sExisting, merged);
  if (sExisting.empty()) merged.emplace_back();
  ParseInto(sNew, added);
  for (PaymentAdjStruct& add : added) {
    auto same = std::find_if(merged.begin(), merged.end(), [&add](const PaymentAdjStruct& a) {
      return a.sGroup == add.sGroup && a.sReason == add.sReason;
    });
    if (same != merged.end()) {
      same->curAmount += add.curAmount;
      same->dfUnit += add.dfUnit;
    } else {
      merged.push_back(std::move(add));
    }
  }
  SortPaymentAdjCodes(merged);
  text.clear();
  for (const PaymentAdjStruct& adj : merged) {
    if (adj.sGroup.empty()) continue;
    if (!text.empty()) text += '|';
    text.append(adj.sGroup).append(1, '|').append(adj.sReason).append(1, '|');
    text.append(PlainDecimal(adj.curAmount)).append(1, '|').append(PlainDecimal(adj.dfUnit));
  }
  sExisting.assign(text);
}

std::int16_t FillDetailInsInfo(Ctx& c, DetailLine& line) {
  HostState& h = c.g.host;
  try {
    const ChargeGroup& g = c.g.g_LastGroup();
    InsInfoArray& ins = line.oInsInfo;
    for (std::int16_t i = 1; i <= 4; ++i) {
      const OInsuranceRec& other = g.OIns[static_cast<std::size_t>(i)];
      if (!Received(other)) continue;
      InsInfo& info = ins.GetInsInfo(i);
      info.bUsed = true;
      info.bBillingInsurance = false;
      info.sQELInsuranceCategoryCd = other[OInsurance::sInsuranceCategoryCd];
      info.sMedigap = other[OInsurance::sMedigap];
      info.sCrossOver = other[OInsurance::sCrossOver].substr(0, 1);
      info.curAmtPayerPaid = Currency::FromText(other[OInsurance::sAmtPayerPaid]);
      info.curAmtAllowed = Currency::FromText(other[OInsurance::sAmtAllowed]);
      info.curAmtDeductible = Currency::FromText(other[OInsurance::sAmtDeductible]);
      info.curAmtInsWriteOff = Currency::FromText(other[OInsurance::sAmtWriteOff]);
      info.curAmtCoIns = Currency();
      info.sLastPaymentDate = other[OInsurance::sLastPaymentDate];
      info.sPaymentAdjCodes = other[OInsurance::sPaymentAdjCodes];
      if (info.curAmtAllowed.IsZero() && !info.curAmtPayerPaid.IsZero()) {
        info.curAmtAllowed = line.curCharge;
      }
    }

    const ChargeRec& charge = g.Charge;
    const std::int16_t b = TextToInt16(charge[Charge::sBillingInsIndex]);
    if (b < 1 || b > 4) {
      AddToMessageArray(h, kMsgError,
                        "ERROR: Billing Ins Index was not between 1-4 (" + SignedText(b) + ")");
      return 3;
    }
    ins.curAmtPatientPaid = Currency::FromText(charge[Charge::sAmtPatientPaid]);
    ins.curAmtPatWriteOff = Currency::FromText(charge[Charge::sAmtPatWriteOff]);

    InsInfo& billing = ins.GetInsInfo(b);
    billing.curAmtPayerPaid += Currency::FromText(charge[Charge::sAmtPayerPaid]);
    billing.curAmtAllowed += Currency::FromText(charge[Charge::sAmtAllowed]);
    billing.curAmtDeductible += Currency::FromText(charge[Charge::sAmtDeductible]);
    billing.bUsed = true;
    billing.bBillingInsurance = true;
    billing.sCrossOver.clear();
    billing.sMedigap.clear();
    billing.sQELInsuranceCategoryCd =
        c.g.records.g_LastTop.Insurance[Insurance::sInsuranceCategoryCd];
    return 0;
  } catch (...) {
    AddFailureMessage(h, " FillDetailInsInfo() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
