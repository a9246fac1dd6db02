// The practice and insurance record parsers: the practice name, address and
// NPI these records carry may be replaced from the reference data.
#include "records/layout.h"
#include "refdata/lookups.h"
#include "state/messages.h"

namespace wcomp837 {

std::int16_t ParsePracticeRec(const RefCtx& c, const std::string& rec, PracticeRec& out) {
  return layout::ParseByLayout(c.host, layout::PracticeLayout(), rec, out, [&]() -> std::int16_t {
    CheckForAlternatePracticeName(c, out);
    const std::string& format = c.host.gsFormatID;
    const bool usesOriginalAddress = format.ends_with("_P5") || format.ends_with("_I5");
    if (usesOriginalAddress && !out[27].empty() && !FetchOriginalPracticeAddress(c, out)) {
      AddToMessageArray(c.host, kMsgError,
                        " ParsePracticeRec had an error when fetching original practice address" +
                            c.host.gsDllName);
      return 3;
    }
    return 0;
  });
}

std::int16_t ParseInsuranceRec(const RefCtx& c, const std::string& rec, InsuranceRec& out,
                               std::int16_t iSwitch) {
  auto payerId = [&]() -> std::int16_t {
    layout::FallBackPayerId(out, Insurance::sPayerId, 36, iSwitch);
    return 0;
  };
  // The practice NPI may depend on practice, billing provider and payer together.
  auto practiceNpi = [&]() -> std::int16_t {
    PracticeRec& practice = c.records.g_ThisTop.Practice;
    std::string npi = FetchAlternatePracticeNPIFromDB(
        c, practice[Practice::sPracticeCode],
        c.records.g_ThisTop.BProvider[BProvider::sProviderCode], out[Insurance::sInsuranceCode]);
    practice[Practice::sNPI] = npi.empty() ? practice[Practice::sNPICopy] : npi;
    return 0;
  };
  return layout::ParseByLayout(c.host, layout::InsuranceLayout(), rec, out, payerId, practiceNpi);
}

}  // namespace wcomp837
