// Every parser on its boundary field counts: the mandatory count, one short,
// records ending inside an optional pair or block, and the full record.
#include <functional>

#include "records/parsers.h"
#include "records_fixture.h"

namespace wcomp837::testing {
namespace {

using ParseFn = std::function<std::int16_t(Ctx&, const std::string&)>;

template <class R>
ParseFn Top(std::int16_t (*fn)(Ctx&, const std::string&, R&), R TopRecords::*rec) {
  return [=](Ctx& c, const std::string& r) { return fn(c, r, c.g.g_ThisTop.*rec); };
}
template <class R>
ParseFn Grp(std::int16_t (*fn)(Ctx&, const std::string&, R&), R ChargeGroup::*rec) {
  return [=](Ctx& c, const std::string& r) { return fn(c, r, c.g.g_ThisGroup.*rec); };
}

std::int16_t ParseInsurance(Ctx& c, const std::string& r, InsuranceRec& out) {
  return ParseInsuranceRec(c, r, out);
}

struct ParserCase {
  const char* entryLog;
  const char* errorText;
  std::size_t mandatory;
  std::size_t full;                  // fields of a complete record
  std::vector<std::size_t> failing;  // field counts ending inside a pair or block
  ParseFn parse;
};

const std::vector<ParserCase>& Cases() {
  // clang-format off
  static const std::vector<ParserCase> cases = {
      {"ParsePracticeRec", " ParsePracticeRec() Error: ", 21, 34, {27, 33},
       Top(ParsePracticeRec, &TopRecords::Practice)},
      {"ParseSubmitterRec()", " ParseSubmitterRec() Error: ", 30, 35, {31, 33, 34},
       Top(ParseSubmitterRec, &TopRecords::Submitter)},
      {"ParseBProviderRec()", " ParseBProviderRec()   Error: ", 33, 44, {37, 43},
       Top(ParseBProviderRec, &TopRecords::BProvider)},
      {"ParseInsuranceRec()", " ParseInsuranceRec()   Error: ", 33, 38, {34},
       Top(ParseInsurance, &TopRecords::Insurance)},
      {"ParseCalcPrefRec()", " ParseCalcPrefRec()  Error: ", 12, 15, {},
       Top(ParseCalcPrefRec, &TopRecords::CalcPref)},
      {"ParseBreakPrefRec()", " ParseBreakPrefRec()   Error: ", 25, 25, {},
       Top(ParseBreakPrefRec, &TopRecords::BreakPref)},
      {"ParsePatientRec()", " ParsePatientRec()  Error: ", 50, 53, {52},
       Top(ParsePatientRec, &TopRecords::Patient)},
      {"ParseSubscriberRec()", " ParseSubscriber()  Error: ", 65, 67, {66},
       Top(ParseSubscriberRec, &TopRecords::Subscriber)},
      {"ParseChargeRec()", " ParseChargeRec() Error: ", 88, 129,
       {89, 91, 94, 95, 97, 99, 101, 104, 117, 121, 123, 125, 127},
       Grp(ParseChargeRec, &ChargeGroup::Charge)},
      {"ParseCCFormRec()", " ParseCCFormRec() Error: ", 4, 4, {},
       [](Ctx& c, const std::string& r) { return ParseCCFormRec(c, r, c.g.g_ThisGroup); }},
      {"ParseAmbulanceRec()", " ParseAmbulanceRec() Error: ", 22, 36, {25, 35},
       Grp(ParseAmbulanceRec, &ChargeGroup::Ambulance)},
      {"ParseChiropractorRec()", " ParseChiropractorRec() Error: ", 18, 18, {},
       Grp(ParseChiropractorRec, &ChargeGroup::Chiropractor)},
      {"ParseSProviderRec()", " ParseSProviderRec() Error: ", 32, 36, {},
       Grp(ParseSProviderRec, &ChargeGroup::SProvider)},
      {"ParseOProviderRec()", " ParseOProviderRec() Error: ", 40, 46, {43, 44},
       Grp(ParseOProviderRec, &ChargeGroup::OProvider)},
      {"ParseReferralRec()", " ParseReferralRec() Error: ", 38, 44, {41, 42},
       Grp(ParseReferralRec, &ChargeGroup::Referral)},
      {"ParseOReferralRec()", " ParseOReferralRec()  Error: ", 40, 46, {43, 44},
       Grp(ParseOReferralRec, &ChargeGroup::OReferral)},
      {"ParseFacilityRec()", " ParseFacilityRec() Error: ", 18, 21, {20},
       Grp(ParseFacilityRec, &ChargeGroup::Facility)},
      {"ParseOInsuranceRec()", " ParseOInsuranceRec() Error: ", 70, 79, {71},
       [](Ctx& c, const std::string& r) {
         return ParseOInsuranceRec(c, r, c.g.g_ThisGroup.OIns[1]); }},
  };
  // clang-format on
  return cases;
}

class ParserBounds : public RecordsTest {
 protected:
  void Expect(const ParserCase& pc, std::size_t n, bool ok) {
    SCOPED_TRACE(std::string(pc.entryLog) + " with " + std::to_string(n) + " fields");
    ClearMessageArray(g().host);
    const std::int16_t result = pc.parse(c(), Record(n));
    EXPECT_EQ(result, ok ? 0 : 3);
    ASSERT_EQ(Messages(), ok ? 0u : 1u);
    if (!ok) {
      EXPECT_EQ(g().host.gMessageArray[1].iMsgType, 3);
      EXPECT_EQ(MessageText(1), g().host.gsDllName + pc.errorText + " 9 Subscript out of range");
    }
  }
};

TEST_F(ParserBounds, FieldCountsAroundMandatoryFieldsPairsAndBlocks) {
  for (const ParserCase& pc : Cases()) {
    Expect(pc, pc.mandatory, true);
    Expect(pc, pc.mandatory - 1, false);
    for (std::size_t n : pc.failing) Expect(pc, n, false);
    Expect(pc, pc.full, true);
    Expect(pc, pc.full + 5, true);  // fields beyond the layout are ignored
  }
}

TEST_F(ParserBounds, ArbitraryTextNeverEscapesAParser) {
  const std::string texts[] = {"", "////", std::string(70000, '/'), std::string(70000, 'x'),
                               "\x01\xff//\n//\r"};
  for (const ParserCase& pc : Cases()) {
    for (const std::string& text : texts) {
      const std::int16_t result = pc.parse(c(), text);
      EXPECT_TRUE(result == 0 || result == 3) << pc.entryLog;
    }
  }
}

TEST_F(ParserBounds, EntryLogLines) {
  OpenTestLog();
  for (const ParserCase& pc : Cases()) pc.parse(c(), Record(pc.full));
  ExtDataRec ext;
  ParseExtDataRec(c(), "T//K//V", ext);
  const std::string log = CloseTestLog();
  for (const ParserCase& pc : Cases()) {
    EXPECT_NE(log.find("\"" + std::string(pc.entryLog) + "\"\r\n"), std::string::npos);
  }
  EXPECT_NE(log.find("\"ExtDataStruct()\"\r\n"), std::string::npos);
  EXPECT_NE(log.find("\"** ParseChargeRec  This-followed is now false\"\r\n"), std::string::npos);
}

TEST_F(ParserBounds, AFailedParseKeepsWhatItFilledAndCleansNothing) {
  PracticeRec& p = g().g_ThisTop.Practice;
  p.fill("OLD");
  EXPECT_EQ(ParsePracticeRec(c(), Record(28, {{2, "a-b"}}), p), 3);  // ends inside 26-33
  EXPECT_EQ(p[2], "a-b");
  EXPECT_EQ(p[27], "F27");
  EXPECT_EQ(p[28], "OLD");
  EXPECT_EQ(p[35], "OLD");
}

}  // namespace
}  // namespace wcomp837::testing
