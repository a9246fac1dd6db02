// Loop 2410 (drug identification): LIN, CTP and REF*XZ from one of three
// sources, chosen once per line: the line's drug-code list, the codes taken
// out of its narrative, or the charge record itself.
#include <cstddef>

#include "records/numeric.h"
#include "records/text.h"
#include "x12/line_loops.h"
#include "x12/segments.h"

namespace wcomp837 {
namespace {

// The numeric value of a text as a plain decimal; empty for an empty text.
std::string NumberOrEmpty(const std::string& text) {
  return text.empty() ? "" : Trim(PlainDecimal(NumericValue(text)));
}

std::int16_t PutDrugCode(const WriterCtx& c, const std::string& code) {
  return PutSegment(c, "LIN", {"", "N4", code});
}

std::int16_t PutPrescription(const WriterCtx& c, const std::string& number) {
  if (number.empty()) return 0;
  return PutSegment(c, "REF", {"XZ", number});
}

// Pricing, unless price, quantity and unit are all empty.
std::int16_t PutPricing(const WriterCtx& c, const std::string& price, const std::string& quantity,
                        const std::string& unit) {
  if (price.empty() && quantity.empty() && unit.empty()) return 0;
  return PutSegment(c, "CTP", {"", "", NumberOrEmpty(price), NumberOrEmpty(quantity), unit});
}

// Charge members of a drug billed on the charge itself.
constexpr std::size_t kDrugCode = 8;
constexpr std::size_t kDrugQuantity = 125;
constexpr std::size_t kDrugUnit = 126;
constexpr std::size_t kDrugUnitPrice = 127;
constexpr std::size_t kPrescriptionNr = 128;

// How the drug codes of a line were found.
enum class DrugSource { kNone, kList, kNarrative, kCharge };

}  // namespace

std::int16_t WriteDrugIdentification(const WriterCtx& c, const DetailLine& line) {
  const ChargeRec& charge = line.Charge();
  DrugSource source = DrugSource::kNone;
  bool prescriptionWritten = false;
  if (!line.oNDCInfo.GetNDCInfo(1).sNDCCode.empty()) {
    source = DrugSource::kList;
    for (std::int16_t k = 1; k <= 3; ++k) {
      const NDCInfo& drug = line.oNDCInfo.GetNDCInfo(k);
      if (drug.sNDCCode.empty()) continue;
      if (PutDrugCode(c, drug.sNDCCode) == 3) return 3;
      if (PutPricing(c, drug.sUnitPrice, drug.sQuantity, drug.sMeasurement) == 3) return 3;
      if (PutPrescription(c, drug.sPrescriptionNr) == 3) return 3;
      prescriptionWritten = prescriptionWritten || !drug.sPrescriptionNr.empty();
    }
  } else if (!line.sNarrativeNDC[1].empty()) {
    source = DrugSource::kNarrative;
    for (std::size_t k = 1; k <= 3; ++k) {
      if (!line.sNarrativeNDC[k].empty() && PutDrugCode(c, line.sNarrativeNDC[k]) == 3) return 3;
    }
  } else if (!charge[kDrugCode].empty()) {
    source = DrugSource::kCharge;
    if (PutDrugCode(c, charge[kDrugCode]) == 3) return 3;
    if (PutPricing(c, charge[kDrugUnitPrice], charge[kDrugQuantity], charge[kDrugUnit]) == 3)
      return 3;
  }

  // The prescription number of the extended data or the charge belongs to a
  // drug loop: it needs a LIN before it.
  if (prescriptionWritten || source == DrugSource::kNarrative || source == DrugSource::kNone) {
    return 0;
  }
  std::string prescription = LineExtDataValue(line, 2, "20001");
  if (prescription.empty()) prescription = charge[kPrescriptionNr];
  return PutPrescription(c, prescription);
}

}  // namespace wcomp837
