// Translations of the host's codes into X12 code values. Every table is data;
// comparisons are exact and case-sensitive.
#include "x12/code_tables.h"

#include <string.h>

#include <array>
#include <cstddef>
#include <string_view>

#include "records/numeric.h"

namespace wcomp837 {
namespace {

struct CodePair {
  std::string_view from;
  std::string_view to;
};

constexpr std::array<std::string_view, 11> kCanadianProvinces = {"AB", "BC", "MB", "NB", "NF", "NS",
                                                                 "ON", "PE", "PQ", "SK", "YT"};

// Host codes without an X12 code of their own are absent and fall back to "21".
constexpr std::array<CodePair, 27> kRelationships = {{
    {"AC", "09"},  {"BRO", "19"}, {"CD", "38"},  {"CNR", "43"}, {"DAU", "19"}, {"EE", "20"},
    {"EMM", "36"}, {"FOS", "10"}, {"FTH", "33"}, {"GP", "04"},  {"GC", "05"},  {"HD", "22"},
    {"HUS", "01"}, {"IP", "41"},  {"LP", "53"},  {"MTH", "32"}, {"NE", "07"},  {"OA", "34"},
    {"OD", "38"},  {"OTH", "G8"}, {"SLF", "18"}, {"SO", "29"},  {"SON", "19"}, {"SD", "23"},
    {"STP", "17"}, {"W", "15"},   {"WIF", "01"},
}};
constexpr std::string_view kDefaultRelationship = "21";

constexpr std::array<CodePair, 8> kMedicareSecondaryKeys = {{
    {"~MC10~", "12"},
    {"~MC11~", "13"},
    {"~MC13~", "14"},
    {"~MC14~", "15"},
    {"~MC15~", "16"},
    {"~MC17~", "41"},
    {"~MC18~", "42"},
    {"~MC16~", "43"},
}};

constexpr std::array<CodePair, 7> kServiceAuthExceptionKeys = {{
    {"~SAEJ~", "1"},
    {"~SAEK~", "2"},
    {"~SAEL~", "3"},
    {"~SAEM~", "4"},
    {"~SAEN~", "5"},
    {"~SAEP~", "6"},
    {"~SAEQ~", "7"},
}};

// "~EPSDT" has no closing "~": every key beginning with EPSDT matches.
constexpr std::array<CodePair, 6> kSpecialProgramKeys = {{
    {"~EPSDT", "01"},
    {"~HCP~", "02"},
    {"~PDBL~", "05"},
    {"~ASCA~", "07"},
    {"~ASCC~", "08"},
    {"~SAEN~", "09"},
}};

constexpr std::array<CodePair, 12> kClaimFilingIndicators = {{
    {"PPO", "12"},
    {"BCS", "BL"},
    {"CHA", "CH"},
    {"CHS", "CH"},
    {"CI", "CI"},
    {"FBL", "ZZ"},
    {"GHP", "ZZ"},
    {"HMO", "HM"},
    {"MCA", "MC"},
    {"MCR", "MB"},
    {"OTH", "ZZ"},
    {"WCI", "WC"},
}};
constexpr std::string_view kDefaultClaimFilingIndicator = "ZZ";

constexpr std::array<CodePair, 9> kPayerProviderIDQualifiers = {{
    {"BCS", "1B"},
    {"PPO", "B3"},
    {"CHA", "1H"},
    {"CHS", "1H"},
    {"CI", "G2"},
    {"MCA", "1D"},
    {"MCR", "1C"},
    {"HMO", "BQ"},
    {"OTH", "G2"},
}};

// Other insurance categories with a type code of their own (besides MCR
// and BCS, which have rules).
constexpr std::array<CodePair, 5> kOtherInsuranceTypes = {{
    {"CI", "C1"},
    {"GHP", "GP"},
    {"HMO", "HM"},
    {"MCA", "MC"},
    {"OTH", "OT"},
}};

constexpr std::int16_t kMaxOtherInsurances = 4;

// The value of the first pair whose key equals `code`, else `fallback`.
template <std::size_t N>
Text ExactLookup(const std::array<CodePair, N>& table, std::string_view code,
                 std::string_view fallback) {
  for (const auto& pair : table) {
    if (pair.from == code) return pair.to;
  }
  return fallback;
}

// The value of the first key (in table order) found anywhere in `keys`.
template <std::size_t N>
Text KeySearch(const std::array<CodePair, N>& table, std::string_view keys) {
  // The keys of a long claim are many "~" markers, each a false start for a
  // plain search; the C library's substring search skips them.
  for (const auto& pair : table) {
    if (keys.size() >= pair.from.size() &&
        ::memmem(keys.data(), keys.size(), pair.from.data(), pair.from.size()) != nullptr) {
      return pair.to;
    }
  }
  return {};
}

Text OtherInsuranceCategory(const WriterCtx& c, std::int16_t n) {
  if (n < 1 || n > kMaxOtherInsurances) return {};
  return c.g_LastGroup().OIns[static_cast<std::size_t>(n)][OInsurance::sInsuranceCategoryCd];
}

// Whether Medicare pays after other insurance n: a later other insurance
// (n included) is Medicare, or the billed insurance is Medicare and comes
// after n.
bool MedicareFollows(const WriterCtx& c, std::int16_t n) {
  for (std::int16_t k = n; k <= kMaxOtherInsurances; ++k) {
    if (OtherInsuranceCategory(c, k) == "MCR") return true;
  }
  return c.records.g_LastTop.Insurance[Insurance::sInsuranceCategoryCd] == "MCR" &&
         NumericValue(c.g_LastGroup().Charge[Charge::sBillingInsIndex]) > n;
}

}  // namespace

bool IsCanadianProvince(std::string_view state) {
  for (const auto province : kCanadianProvinces) {
    if (province == state) return true;
  }
  return false;
}

Text RelationshipToX12(std::string_view relationship) {
  return ExactLookup(kRelationships, relationship, kDefaultRelationship);
}

Text MedicareSecondaryTypeCode(std::string_view claimExtKeys) {
  return KeySearch(kMedicareSecondaryKeys, claimExtKeys);
}

Text ServiceAuthExceptionCode(std::string_view indicatorKeys) {
  return KeySearch(kServiceAuthExceptionKeys, indicatorKeys);
}

Text SpecialProgramCode(std::string_view keys) {
  return KeySearch(kSpecialProgramKeys, keys);
}

Text ClaimFilingIndicator(std::string_view category) {
  return ExactLookup(kClaimFilingIndicators, category, kDefaultClaimFilingIndicator);
}

Text PayerProviderIDQualifier(std::string_view category) {
  return ExactLookup(kPayerProviderIDQualifiers, category, "");
}

Text OtherInsuranceTypeCode(const WriterCtx& c, std::int16_t n) {
  const Text category = OtherInsuranceCategory(c, n);
  if (category == "MCR") {
    if (n == 1) return "MP";
    const std::string& keys = c.claim.mClaim.sClaimExtKeys;
    if (keys.find("~MC12~") != std::string::npos) return "CP";
    if (keys.find("~MC13~") != std::string::npos) return "AP";
    return "MB";
  }
  if (category == "BCS") return MedicareFollows(c, n) ? "C1" : "SP";
  return ExactLookup(kOtherInsuranceTypes, category, "SP");
}

}  // namespace wcomp837
