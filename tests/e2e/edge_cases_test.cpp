// Observable segment rules driven through whole batches: variations of the
// reviewed batches under tests/batches/, each checked against the guide.
#include <gtest/gtest.h>

#include "e2e/e2e_env.h"

namespace wcomp837::testing {
namespace {

using Strings = std::vector<std::string>;

struct Change {
  const char* type;
  std::size_t field;
  const char* value;
  int nth = -1;
};
struct Variation {
  const char* name;
  const char* batch;
  std::vector<Change> changes;
  std::vector<std::pair<const char*, Strings>> expected;  // segments starting with .first
};

const Variation kVariations[] = {
    // Any other payer falls back to the standard date of 2008, long past.
    {"NoLegacyNumbersAfterTheStandardDate",
     "providers",
     {{"3000", 1, "WC07"}},
     {{"REF*1B*", {}}, {"REF*1C*", {}}, {"NM1*DQ*", {"NM1*DQ*1*STONE*HELEN****34*478119902"}}}},
    // The claim takes the last charge's place of service; a line only its own
    // where it differs.
    {"LinePlaceOfServiceOnlyWhereItDiffers",
     "primary_insured",
     {{"3101", 10, "0"}, {"6000", 25, "22", 1}},
     {{"CLM*", {"CLM*N30001*270.5***22::1*Y*A*Y*Y*B*EM"}},
      {"SV1*", {"SV1*HC:99203*150.5*UN*1*11**1:2", "SV1*HC:97110:GP:59*120*UN*2***1"}}}},
    // CAS03 is required: a zero adjustment is sent as "0". Claim 1 has two
    // lines merged at claim level, then one per line; claim 2 the same.
    {"ZeroAdjustmentIsSentAsZero",
     "secondary_tertiary",
     {{"6310", 76, "CO|45|0|1"}},
     {{"CAS*",
       {"CAS*CO*45*0*2", "CAS*CO*45*0*1", "CAS*CO*45*0*1", "CAS*CO*45*0*1", "CAS*CO*45*0*1"}}}},
    // Narrative, faxed paperwork and a chiropractic note on one line: the
    // narrative is the line's note.
    {"LineNotesAreOnePerLine",
     "chiropractic",
     {{"6000", 71, "DI02", 0}, {"6000", 72, "PATIENT TOLERATED WELL", 0}},
     {{"PWK*", {"PWK*OZ*FX"}},
      {"NTE*", {"NTE*ADD*PATIENT TOLERATED WELL", "NTE*ADD*LUMBAR REGION, SACRAL REGION"}}}},
    {"AmbulanceWithoutConditionsWritesNoCertification",
     "ambulance",
     {{"6050", 2, "0"}, {"6050", 5, "0"}, {"6050", 16, "B"}},
     {{"CR1*", {}},
      {"CRC*", {}},
      {"SV1*", {"SV1*HC:A0429:RH*650*UN*1***1:2", "SV1*HC:A0425:RH*90*UN*12***1"}}}},
    // Without the charge's drug code the prescription number would stand
    // alone in the service line, where the guide has no place for it.
    {"PrescriptionNumberNeedsADrugCode",
     "drug_codes",
     {{"6000", 8, "", 2}},
     {{"REF*XZ*", {"REF*XZ*RX100234"}},
      {"LIN*", {"LIN**N4*00003029305", "LIN**N4*00009027501", "LIN**N4*00409379301"}}}},
};

class Variations : public E2eTest, public ::testing::WithParamInterface<Variation> {};

TEST_P(Variations, WriteTheirSegments) {
  auto records = BatchRecords(GetParam().batch);
  for (const Change& k : GetParam().changes) SetField(records, k.type, k.field, k.value, k.nth);
  const BatchOutput out = Run(records);
  EXPECT_EQ(out.worstAnswer, 0) << ::testing::PrintToString(out.messages);
  EXPECT_EQ(CheckGuideText(out.claimFile).errors, Strings{});
  const Strings s = SplitSegments(out.claimFile);
  for (const auto& [prefix, expected] : GetParam().expected) {
    EXPECT_EQ(Starting(s, prefix), expected) << prefix;
  }
}

INSTANTIATE_TEST_SUITE_P(OfTheBatches, Variations, ::testing::ValuesIn(kVariations),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wcomp837::testing
