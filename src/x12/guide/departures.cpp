#include "x12/guide/departures.h"

namespace wcomp837::guide {
namespace {

constexpr Departure kDepartures[] = {
    {"billing-contact-without-name",
     "the billing provider's contact is written as PER*IC**TE* with the practice phone and no "
     "contact name",
     "2010AA", "PER02", Rule::kRequiredElement, ""},
    {"birth-date-unknown", "DMG*D8*00000000 stands for a birth date the host did not send",
     "2010BA 2010CA 2320", "DMG02", Rule::kBadDate, "00000000"},
    {"line-paperwork",
     "line paperwork is sent as PWK*OZ*BM (by mail) or PWK*OZ*FX (by fax); the guide's line PWK "
     "is the medical equipment certificate indicator",
     "2400", "PWK01 PWK02", Rule::kCodeValue, "OZ BM FX"},
    {"payer-qualifier-in-provider-ref",
     "a provider's payer-assigned number goes out under the payer category's qualifier (B3, BQ) "
     "or 00 when the category has none",
     "2310A 2310B 2310C", "REF01", Rule::kCodeValue, "B3 BQ 00"},
    {"taxonomy-placeholder",
     "a rendering provider without any taxonomy code gets PRV*PE*ZZ*XXXXXXXXXX", "2310B", "PRV03",
     Rule::kTaxonomy, "XXXXXXXXXX"},
    {"other-subscriber-relationship",
     "the other insurance's relationship codes 09, 34 and 38 are sent as the host maps them",
     "2320", "SBR02", Rule::kCodeValue, "09 34 38"},
    {"purchased-service-provider-suffix",
     "the purchased-service provider's name carries its suffix in NM107 like every person name",
     "2310C", "NM107", Rule::kElementNotUsed, ""},
    {"claim-without-assignment-code",
     "CLM07 stays empty when the calculation preferences and the charge give no assignment code",
     "2300", "CLM07", Rule::kRequiredElement, ""},
    {"drug-price-without-quantity",
     "a drug's CTP carries only the parts the host sent: no quantity or unit leaves CTP04 or "
     "CTP05 empty",
     "2410", "CTP04 CTP05 CTP05-1", Rule::kRequiredElement, ""},
};

// True when word is one of the blank-separated words of list.
bool Listed(std::string_view list, std::string_view word) {
  while (!list.empty()) {
    const std::size_t blank = list.find(' ');
    if (list.substr(0, blank) == word) return true;
    if (blank == std::string_view::npos) break;
    list.remove_prefix(blank + 1);
  }
  return false;
}

}  // namespace

std::span<const Departure> Departures() {
  return kDepartures;
}

const Departure* FindDeparture(std::string_view loop, std::string_view ref, Rule rule,
                               std::string_view value) {
  for (const Departure& d : kDepartures) {
    if (d.rule == rule && Listed(d.loops, loop) && Listed(d.refs, ref) &&
        (d.values.empty() || Listed(d.values, value))) {
      return &d;
    }
  }
  return nullptr;
}

}  // namespace wcomp837::guide
