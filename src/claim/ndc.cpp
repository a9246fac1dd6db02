// Drug codes of a service line: the NDCInfo positions filled from a
// drug-code text (code-price-quantity-unit-prescription;...) and the codes
// marked "NDC " in the charge narrative.
#include "claim/tables.h"
#include "platform/failure.h"
#include "records/text.h"
#include "state/messages.h"

namespace wcomp837 {
namespace {
constexpr std::size_t kDrugCodesPerLine = 3;
constexpr std::string_view kNarrativeMarker = "NDC ";
}  // namespace

// Member by member: the texts keep their buffers. The binding names every
// member, so one added to the class must be emptied here too.
void NDCInfo::EmptyMe() {
  auto& [code, unitPrice, quantity, measurement, prescription] = *this;
  for (std::string* text : {&code, &unitPrice, &quantity, &measurement, &prescription}) {
    text->clear();
  }
}

void NDCInfoArray::Empty_Me() {
  for (NDCInfo& info : items_) info.EmptyMe();
}

NDCInfo& NDCInfoArray::GetNDCInfo(std::int16_t n) {
  if (n < 1 || n > static_cast<std::int16_t>(items_.size())) Raise(failure::kSubscript);
  return items_[static_cast<std::size_t>(n - 1)];
}

const NDCInfo& NDCInfoArray::GetNDCInfo(std::int16_t n) const {
  if (n < 1 || n > static_cast<std::int16_t>(items_.size())) Raise(failure::kSubscript);
  return items_[static_cast<std::size_t>(n - 1)];
}

void NDCInfoArray::Fill_Me(const std::string& str) {
  thread_local std::vector<std::string_view> items;
  thread_local std::vector<std::string_view> parts;
  SplitAt(str, ';', items);
  for (std::size_t i = 0; i < items.size() && i < items_.size(); ++i) {
    if (items[i].empty()) continue;
    SplitAt(items[i], '-', parts);
    NDCInfo& info = items_[i];
    std::string* const targets[] = {&info.sNDCCode, &info.sUnitPrice, &info.sQuantity,
                                    &info.sMeasurement, &info.sPrescriptionNr};
    for (std::size_t k = 0; k < parts.size() && k < std::size(targets); ++k) {
      targets[k]->assign(parts[k]);
    }
  }
}

void ExtractNDCFromNarrative(Ctx& c, DetailLine& line) {
  try {
    std::string& narrative = line.sNarrative;
    for (std::size_t k = 1; k <= kDrugCodesPerLine; ++k) {
      const std::size_t p = narrative.find(kNarrativeMarker);
      if (p == std::string::npos) return;
      const std::size_t codeStart = p + kNarrativeMarker.size();
      std::size_t q = narrative.find(' ', codeStart);
      if (q == std::string::npos) q = narrative.size();
      line.sNarrativeNDC[k] = Trim(std::string_view(narrative).substr(codeStart, q - codeStart));
      narrative = narrative.substr(0, p) + Trim(std::string_view(narrative).substr(q));
    }
  } catch (...) {
    AddFailureMessage(c.g.host, " ExtractNDCFromNarrative() ", std::current_exception());
  }
}

}  // namespace wcomp837
