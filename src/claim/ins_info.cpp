// Per-insurance amounts of a service line (InsInfo, InsInfoArray) and the
// merging of payment adjustment texts (group|reason|amount|units|...).
#include <algorithm>

#include "claim/split_text.h"
#include "claim/tables.h"
#include "platform/failure.h"
#include "platform/prompt.h"
#include "records/numeric.h"
#include "state/messages.h"

namespace wcomp837 {

void InsInfo::EmptyMe() {
  *this = InsInfo{};
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

std::vector<PaymentAdjStruct> InsInfoArray::ParsePaymentAdjCodes(const std::string& text) {
  std::vector<PaymentAdjStruct> list;
  const std::vector<std::string_view> values = SplitAt(text, '|');
  // An incomplete last adjustment is ignored.
  for (std::size_t i = 0; i + 4 <= values.size(); i += 4) {
    PaymentAdjStruct adj;
    adj.sGroup = values[i];
    adj.sReason = values[i + 1];
    adj.curAmount = Currency::FromText(std::string(values[i + 2]));
    adj.dfUnit = NumericValue(std::string(values[i + 3]));
    list.push_back(std::move(adj));
  }
  return list;
}

void InsInfoArray::SortPaymentAdjCodes(std::vector<PaymentAdjStruct>& list) {
  std::stable_sort(
      list.begin(), list.end(),
      [](const PaymentAdjStruct& a, const PaymentAdjStruct& b) { return a.sGroup < b.sGroup; });
}

void InsInfoArray::AddThePaymentAdjCodes(std::string& sExisting, const std::string& sNew) {
  if (sNew.empty()) return;
  std::vector<PaymentAdjStruct> merged = ParsePaymentAdjCodes(sExisting);
  if (sExisting.empty()) merged.emplace_back();
  for (PaymentAdjStruct& add : ParsePaymentAdjCodes(sNew)) {
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
  std::string text;
  for (const PaymentAdjStruct& adj : merged) {
    if (adj.sGroup.empty()) continue;
    if (!text.empty()) text += '|';
    text += adj.sGroup + '|' + adj.sReason + '|' + PlainDecimal(adj.curAmount) + '|' +
            PlainDecimal(adj.dfUnit);
  }
  sExisting = std::move(text);
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
    billing.sQELInsuranceCategoryCd = c.g.g_LastTop.Insurance[Insurance::sInsuranceCategoryCd];
    return 0;
  } catch (...) {
    AddFailureMessage(h, " FillDetailInsInfo() ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
