// The field layout of every record type.
#include <initializer_list>

#include "records/layout.h"

namespace wcomp837::layout {
namespace {

// An optional single (member = field) with its default.
Group Single(std::size_t field, std::string dflt = "") {
  return Group{field, 1, field, Absent::kDefaults, {std::move(dflt)}};
}
// An optional pair or block (members = fields), default all empty.
Group Block(std::size_t field, std::size_t count) {
  return Group{field, count, field};
}
// An optional single or block whose members keep their values when absent.
Group Kept(std::size_t field, std::size_t count) {
  return Group{field, count, field, Absent::kKeep};
}

Rule Country(std::size_t m) {
  return Rule{m, Op::kCountry, m};
}
Rule Drop(std::size_t m) {
  return Rule{m, Op::kDrop, m};
}
Rule NpiGate(std::size_t m) {
  return Rule{m, Op::kNpiGate, m};
}
// The gender rule runs once the text member (stored right after the code) is in.
Rule Gender(std::size_t code, std::size_t text) {
  return Rule{text, Op::kGender, code, text};
}

// Member lists: single members and inclusive ranges.
struct Span {
  std::size_t first;
  std::size_t last;
};
std::vector<std::size_t> List(std::initializer_list<Span> spans) {
  std::vector<std::size_t> out;
  for (const Span& s : spans) {
    for (std::size_t m = s.first; m <= s.last; ++m) out.push_back(m);
  }
  return out;
}

// Members shared by the four person records and cleaned in each.
std::vector<std::size_t> PersonCleaned(std::size_t first, std::size_t last) {
  return List({{2, 4}, {6, 6}, {11, 13}, {first, last}});
}

// Other provider and other referral share their layout.
Layout OtherPersonLayout(std::string_view entryLog, std::string_view errorText,
                         std::string_view cleanName) {
  return Layout{entryLog,
                errorText,
                cleanName,
                OProvider::kMembers,
                40,
                {Single(40), Single(41), Kept(42, 3), Single(45)},
                {Gender(9, 10), Drop(33), NpiGate(41), Country(45)},
                {},
                PersonCleaned(31, 37)};
}

}  // namespace

const Layout& PracticeLayout() {
  static const Layout l{"ParsePracticeRec",
                        " ParsePracticeRec() Error: ",
                        "DealWithPunctuation_Practice",
                        Practice::kMembers,
                        21,
                        {Single(21), Single(22), Single(23), Single(24), Single(25), Block(26, 8)},
                        {Drop(15), NpiGate(24), Rule{24, Op::kCopy, 24, Practice::sNPICopy},
                         Country(25), Country(32)},
                        {},
                        List({{2, 5}, {13, 20}})};
  return l;
}

const Layout& SubmitterLayout() {
  static const Layout l{"ParseSubmitterRec()",
                        " ParseSubmitterRec() Error: ",
                        "DealWithPunctuation_Submitter",
                        Submitter::kMembers,
                        30,
                        {Block(30, 2), Block(32, 3)},
                        {},
                        {},
                        List({{1, 1}, {3, 5}, {10, 10}, {18, 18}})};
  return l;
}

const Layout& BProviderLayout() {
  static const Layout l{"ParseBProviderRec()",
                        " ParseBProviderRec()   Error: ",
                        "DealWithPunctuation_BProvider",
                        BProvider::kMembers,
                        33,
                        {Single(33), Single(34), Single(35), Block(36, 8)},
                        {Gender(8, 9), Drop(26), NpiGate(27), Country(35), Country(42)},
                        {{28, 44}},
                        List({{2, 3}, {5, 5}, {10, 12}, {24, 32}})};
  return l;
}

const Layout& InsuranceLayout() {
  static const Layout l{"ParseInsuranceRec()",
                        " ParseInsuranceRec()   Error: ",
                        "DealWithPunctuation_Insurance",
                        Insurance::kMembers,
                        33,
                        {Block(33, 2), Single(35), Single(36), Single(37)},
                        {Country(37)},
                        {{18, 38}, {36, 39}},
                        List({{2, 6}, {17, 18}, {21, 32}})};
  return l;
}

const Layout& CalcPrefLayout() {
  static const Layout l{"ParseCalcPrefRec()",
                        " ParseCalcPrefRec()  Error: ",
                        "DealWithPunctuation_CalcPref",
                        CalcPref::kMembers,
                        12,
                        {Single(12, "0"), Single(13, "0"), Single(14, "0")},
                        {},
                        {},
                        {0}};
  return l;
}

const Layout& BreakPrefLayout() {
  static const Layout l{"ParseBreakPrefRec()",
                        " ParseBreakPrefRec()   Error: ",
                        "DealWithPunctuation_BreakPref",
                        BreakPref::kMembers,
                        25,
                        {},
                        {},
                        {},
                        {}};
  return l;
}

const Layout& PatientLayout() {
  static const Layout l{"ParsePatientRec()",
                        " ParsePatientRec()  Error: ",
                        "DealWithPunctuation_Patient",
                        Patient::kMembers,
                        50,
                        {Kept(50, 1), Group{51, 2, 51, Absent::kDefaults, {}, 3}},
                        {Gender(10, 11), Country(51), Country(52)},
                        {},
                        List({{2, 4}, {6, 7}, {19, 22}, {31, 33}, {36, 38}})};
  return l;
}

const Layout& SubscriberLayout() {
  static const Layout l{"ParseSubscriberRec()",
                        " ParseSubscriber()  Error: ",
                        "DealWithPunctuation_Subscriber",
                        Subscriber::kMembers,
                        65,
                        {Block(65, 2)},
                        {Gender(25, 26), Country(65), Country(66)},
                        {},
                        List({{4, 6}, {17, 19}, {21, 22}, {34, 37}, {46, 48}, {51, 53}})};
  return l;
}

// Fields from 88 on land three members further on (members 88-90 are the
// modifier work array).
const Layout& ChargeLayout() {
  static const Layout l{
      "ParseChargeRec()",
      " ParseChargeRec() Error: ",
      "DealWithPunctuation_Charge",
      Charge::kMembers,
      88,
      {Group{88, 2, 91}, Group{90, 2, 93}, Group{92, 1, 95, Absent::kKeep},
       Group{93, 3, 96, Absent::kDefaults, {"0.0000", "0.0000", "0"}}, Group{96, 2, 99},
       Group{98, 2, 101}, Group{100, 2, 103}, Group{102, 1, 105}, Group{103, 15, 106},
       Group{118, 1, 121}, Group{119, 1, 122, Absent::kDefaults, {"0"}}, Group{120, 2, 123},
       Group{122, 4, 125}, Group{126, 2, 129}, Group{128, 1, 131}},
      {Rule{62, Op::kEmptyIfNone, 61}, Rule{62, Op::kEmptyIfNone, 62},
       Rule{128, Op::kEmptyIfZero, 125}, Rule{128, Op::kEmptyIfZero, 127}},
      {{Charge::sCodePart1, Charge::sCodePart2}},
      List({{7, 7}, {61, 62}, {84, 87}, {92, 92}})};
  return l;
}

const Layout& SProviderLayout() {
  static const Layout l{"ParseSProviderRec()",
                        " ParseSProviderRec() Error: ",
                        "DealWithPunctuation_SProvider",
                        SProvider::kMembers,
                        32,
                        {Single(32), Single(33), Single(34), Single(35)},
                        {Gender(9, 10), Drop(27), NpiGate(34), Country(35)},
                        {},
                        PersonCleaned(25, 31)};
  return l;
}

const Layout& OProviderLayout() {
  static const Layout l = OtherPersonLayout(
      "ParseOProviderRec()", " ParseOProviderRec() Error: ", "DealWithPunctuation_OProvider");
  return l;
}

const Layout& ReferralLayout() {
  static const Layout l{"ParseReferralRec()",
                        " ParseReferralRec() Error: ",
                        "DealWithPunctuation_Referral",
                        Referral::kMembers,
                        38,
                        {Single(38), Single(39), Kept(40, 3), Single(43)},
                        {Gender(9, 10), Drop(31), NpiGate(39), Country(43)},
                        {},
                        PersonCleaned(29, 35)};
  return l;
}

const Layout& OReferralLayout() {
  static const Layout l = OtherPersonLayout(
      "ParseOReferralRec()", " ParseOReferralRec()  Error: ", "DealWithPunctuation_OReferral");
  return l;
}

const Layout& FacilityLayout() {
  static const Layout l{"ParseFacilityRec()",
                        " ParseFacilityRec() Error: ",
                        "DealWithPunctuation_Facility",
                        Facility::kMembers,
                        18,
                        {Single(18), Block(19, 2)},
                        {NpiGate(18), Country(19)},
                        {},
                        List({{2, 6}, {14, 17}})};
  return l;
}

const Layout& OInsuranceLayout() {
  static const Layout l{"ParseOInsuranceRec()",
                        " ParseOInsuranceRec() Error: ",
                        "DealWithPunctuation_OInsurance",
                        OInsurance::kMembers,
                        70,
                        {Block(70, 2), Single(72), Single(73), Single(74), Single(75), Single(76),
                         Single(77), Single(78)},
                        {Rule{26, Op::kGenderCode, 26}, Country(77), Country(78)},
                        {{74, 79}},
                        List({{2, 6},
                              {16, 18},
                              {20, 20},
                              {25, 25},
                              {32, 34},
                              {41, 43},
                              {51, 51},
                              {54, 56},
                              {66, 69},
                              {71, 71}})};
  return l;
}

const Layout& AmbulanceLayout() {
  static const Layout l{"ParseAmbulanceRec()",
                        " ParseAmbulanceRec() Error: ",
                        "DealWithPunctuation_Ambulance",
                        Ambulance::kMembers,
                        22,
                        {Single(22), Single(23), Block(24, 12)},
                        {Country(29), Country(35)},
                        {},
                        List({{2, 13}, {15, 21}})};
  return l;
}

const Layout& ChiropractorLayout() {
  static const Layout l{"ParseChiropractorRec()",
                        " ParseChiropractorRec() Error: ",
                        "DealWithPunctuation_Chiropractor",
                        Chiropractor::kMembers,
                        18,
                        {},
                        {},
                        {},
                        List({{1, 17}})};
  return l;
}

}  // namespace wcomp837::layout
