// Observable segment rules driven through whole batches: variations of the
// reviewed batches under tests/batches/, each checked against the guide.
#include <gtest/gtest.h>

#include "e2e/e2e_env.h"

namespace wcomp837::testing {
namespace {

using Strings = std::vector<std::string>;

class EdgeCases : public E2eTest {
 protected:
  std::vector<std::string> RunBatch(const std::vector<HostRecord>& records) {
    const BatchOutput out = Run(records);
    EXPECT_EQ(out.worstAnswer, 0) << ::testing::PrintToString(out.messages);
    EXPECT_EQ(CheckGuideText(out.claimFile).errors, Strings{});
    return SegmentsOf(out.claimFile);
  }
};

// Separators in the host's texts never reach the file, and over-long names
// and notes are cut to the lengths the guide allows.
TEST_F(EdgeCases, HostTextCannotBreakTheFile) {
  auto records = BatchRecords("primary_insured");
  SetField(records, "4000", 4, "O*BRIEN~X");
  SetField(records, "5000", 19, "O*BRIEN~X");
  SetField(records, "5000", 46, "2210 HARLEM AVE ~ APT:4");
  SetField(records, "3000", 3, "MIDWEST WORKERS COMPENSATION INSURANCE COMPANY OF ILLINOIS");
  SetField(records, "6000", 61, "AU*TH~1:2");
  SetField(records, "6000", 72, "TAKE 2:3 * DAILY ~ " + std::string(90, 'N'), 1);
  const BatchOutput out = Run(records);
  EXPECT_EQ(CheckGuideText(out.claimFile).errors, Strings{});
  const Strings s = SegmentsOf(out.claimFile);
  EXPECT_EQ(Starting(s, "NM1*IL*")[0], "NM1*IL*1*OBRIENX*MICHAEL*T***MI*WC8810021");
  EXPECT_EQ(Starting(s, "N3*2210")[0], "N3*2210 HARLEM AVE  APT4");
  EXPECT_EQ(Starting(s, "NM1*PR*")[0], "NM1*PR*2*MIDWEST WORKERS COMPENSATION INSURA*****PI*36101");
  EXPECT_EQ(Starting(s, "REF*G1*")[0], "REF*G1*AUTH12");
  const Strings notes = Starting(s, "NTE*ADD*TAKE");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].size(), 8u + 80u);
}

TEST_F(EdgeCases, LegacyProviderNumbersFollowThePayersStopDate) {
  // WC01 has its own stop date in 2099: the payer-assigned numbers are sent.
  auto records = BatchRecords("providers");
  Strings s = RunBatch(records);
  EXPECT_EQ(Starting(s, "REF*1B*"), (Strings{"REF*1B*RF4410", "REF*1B*RF5520", "REF*1B*SU3300"}));
  EXPECT_EQ(Starting(s, "REF*1C*"), (Strings{"REF*1C*FAC8821", "REF*1C*FAC1177"}));

  // Any other payer falls back to the standard date of 2008, long past.
  SetField(records, "3000", 1, "WC07");
  s = RunBatch(records);
  EXPECT_EQ(Starting(s, "REF*1B*"), Strings{});
  EXPECT_EQ(Starting(s, "REF*1C*"), Strings{});
  EXPECT_EQ(Starting(s, "NM1*DN*").size(), 2u);
  EXPECT_EQ(Starting(s, "NM1*DQ*"), Strings{"NM1*DQ*1*STONE*HELEN****34*478119902"});
  EXPECT_EQ(Starting(s, "NM1*FA*").size(), 2u);
}

TEST_F(EdgeCases, LinePlaceOfServiceOnlyWhereItDiffersFromTheClaim) {
  auto records = BatchRecords("primary_insured");
  SetField(records, "3101", 10, "0");  // no break on a new place of service
  SetField(records, "6000", 25, "22", 1);
  const Strings s = RunBatch(records);
  // The claim takes the last charge's place of service.
  ASSERT_EQ(Starting(s, "CLM*").size(), 1u);
  EXPECT_EQ(Starting(s, "CLM*")[0].substr(0, 25), "CLM*N30001*270.5***22::1*");
  EXPECT_EQ(Starting(s, "SV1*"),
            (Strings{"SV1*HC:99203*150.5*UN*1*11**1:2", "SV1*HC:97110:GP:59*120*UN*2***1"}));
}

// CAS03 is a required element: a zero adjustment is sent as "0", not as an
// empty element.
TEST_F(EdgeCases, ZeroAdjustmentAmountIsSentAsZero) {
  auto records = BatchRecords("secondary_tertiary");
  SetField(records, "6310", 76, "CO|45|0|1");
  const Strings s = RunBatch(records);
  const Strings cas = Starting(s, "CAS*");
  // Claim 1: two lines merged at claim level, then one per line; claim 2 the same.
  EXPECT_EQ(cas, (Strings{"CAS*CO*45*0*2", "CAS*CO*45*0*1", "CAS*CO*45*0*1", "CAS*CO*45*0*1",
                          "CAS*CO*45*0*1"}));
}

TEST_F(EdgeCases, LineNotesAreOnePerLine) {
  // Narrative, faxed paperwork and a chiropractic note on one line: the
  // narrative is the line's note.
  auto records = BatchRecords("chiropractic");
  SetField(records, "6000", 71, "DI02", 0);
  SetField(records, "6000", 72, "PATIENT TOLERATED WELL", 0);
  const Strings s = RunBatch(records);
  EXPECT_EQ(Starting(s, "PWK*"), (Strings{"PWK*OZ*FX"}));
  EXPECT_EQ(Starting(s, "NTE*"),
            (Strings{"NTE*ADD*PATIENT TOLERATED WELL", "NTE*ADD*LUMBAR REGION, SACRAL REGION"}));
}

TEST_F(EdgeCases, AmbulanceWithoutConditionsWritesNoCertification) {
  auto records = BatchRecords("ambulance");
  SetField(records, "6050", 2, "0");
  SetField(records, "6050", 5, "0");
  SetField(records, "6050", 16, "B");
  const Strings s = RunBatch(records);
  EXPECT_EQ(Starting(s, "CR1*"), Strings{});
  EXPECT_EQ(Starting(s, "CRC*"), Strings{});
  EXPECT_EQ(Starting(s, "SV1*").size(), 2u);
}

TEST_F(EdgeCases, BatchWithoutChargesWritesNoEnvelope) {
  auto records = BatchRecords("two_practices");
  std::erase_if(records, [](const HostRecord& r) {
    return r.record.rfind("6000//", 0) == 0 || r.record == "6990";
  });
  const BatchOutput out = Run(records);
  EXPECT_EQ(out.worstAnswer, 0) << ::testing::PrintToString(out.messages);
  EXPECT_EQ(out.claimFile, "");
}

TEST_F(EdgeCases, PrescriptionNumberNeedsADrugCode) {
  auto records = BatchRecords("drug_codes");
  Strings s = RunBatch(records);
  EXPECT_EQ(Starting(s, "REF*XZ*"), (Strings{"REF*XZ*RX100234", "REF*XZ*RX5555"}));

  // Without the charge's drug code the prescription number would stand
  // alone in the service line, where the guide has no place for it.
  SetField(records, "6000", 8, "", 2);
  s = RunBatch(records);
  EXPECT_EQ(Starting(s, "REF*XZ*"), (Strings{"REF*XZ*RX100234"}));
  EXPECT_EQ(Starting(s, "LIN*").size(), 3u);
}

}  // namespace
}  // namespace wcomp837::testing
