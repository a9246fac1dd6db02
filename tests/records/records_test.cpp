// The records: the parsers' field-count limits, failed parses, the members a
// record leaves kept or empty and the clearing of the generations; the text
// and number helpers at their limits (16-bit lengths and field counts, the
// ends of the currency range, separators and rounding).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <thread>
#include <tuple>

#include "claim/generations.h"
#include "claim/state.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "records/numeric.h"
#include "records/parsers.h"
#include "records/text.h"
#include "refdata/lookups.h"
#include "state/messages.h"
#include "support/test_support.h"
#include "wcomp837/failure.h"

namespace wcomp837::testing {
namespace {

using Edits = std::vector<std::pair<std::size_t, std::string>>;

// A record of n fields "F0" ... "F<n-1>" (capitals and digits pass the
// punctuation filter unchanged) with some fields replaced.
std::string Record(std::size_t n, const Edits& edits = {}) {
  std::vector<std::string> fields;
  for (std::size_t i = 0; i < n; ++i) fields.push_back("F" + std::to_string(i));
  for (const auto& [i, value] : edits) fields.at(i) = value;
  std::string text;
  for (std::size_t i = 0; i < n; ++i) text += (i ? "//" : "") + fields[i];
  return text;
}

template <std::size_t N>
std::vector<std::size_t> Filled(const Rec<N>& rec) {
  std::vector<std::size_t> out;
  for (std::size_t m = 0; m < N; ++m) {
    if (!rec[m].empty()) out.push_back(m);
  }
  return out;
}

class RecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetComponentFolderForTesting(dir_.path());
    WriteFile(dir_.File("QBEX_ALT_PRACTICENAME.DAT"), "");
    SetFixedClock(DateTime{2026, 12, 6, 8, 0, 0});
  }
  void TearDown() override {
    SetFixedClock(std::nullopt);
    SetComponentFolderForTesting(std::nullopt);
  }
  const std::string& MessageText(std::size_t i) const { return g.host.gMessageArray[i].sMsgText; }
  ChargeGroup& grp() { return g.records.g_ThisGroup; }
  TopRecords& top() { return g.records.g_ThisTop; }
  TempDir dir_;
  SharedState g;
  ObjectState o;
  Ctx c{g, o};
};

using ParseFn = std::function<std::int16_t(Ctx&, const std::string&)>;

template <class C, class R>
ParseFn Top(std::int16_t (*fn)(C&, const std::string&, R&), R TopRecords::*rec) {
  return [=](Ctx& c, const std::string& r) { return fn(c, r, c.g.records.g_ThisTop.*rec); };
}
template <class C, class R>
ParseFn Grp(std::int16_t (*fn)(C&, const std::string&, R&), R ChargeGroup::*rec) {
  return [=](Ctx& c, const std::string& r) { return fn(c, r, c.g.records.g_ThisGroup.*rec); };
}
std::int16_t ParseInsurance(Ctx& c, const std::string& r, InsuranceRec& out) {
  return ParseInsuranceRec(c, r, out);
}

struct ParserCase {
  const char* errorText;
  std::size_t mandatory;
  std::size_t full;                  // fields of a complete record
  std::vector<std::size_t> failing;  // every field count ending inside a pair or block
  ParseFn parse;
  std::string Entry() const {
    return std::string(errorText).substr(1, std::string(errorText).find(')'));
  }
};

const std::vector<ParserCase>& Cases() {
  using T = TopRecords;
  using G = ChargeGroup;
  // clang-format off
  static const std::vector<ParserCase> cases = {
      {" ParsePracticeRec() Error: ", 21, 34, {27, 28, 29, 30, 31, 32, 33},
       Top(ParsePracticeRec, &T::Practice)},
      {" ParseSubmitterRec() Error: ", 30, 35, {31, 33, 34}, Top(ParseSubmitterRec, &T::Submitter)},
      {" ParseBProviderRec()   Error: ", 33, 44, {37, 38, 39, 40, 41, 42, 43}, Top(ParseBProviderRec, &T::BProvider)},
      {" ParseInsuranceRec()   Error: ", 33, 38, {34}, Top(ParseInsurance, &T::Insurance)},
      {" ParseCalcPrefRec()  Error: ", 12, 15, {}, Top(ParseCalcPrefRec, &T::CalcPref)},
      {" ParseBreakPrefRec()   Error: ", 25, 25, {}, Top(ParseBreakPrefRec, &T::BreakPref)},
      {" ParsePatientRec()  Error: ", 50, 53, {52}, Top(ParsePatientRec, &T::Patient)},
      {" ParseSubscriber()  Error: ", 65, 67, {66},
       Top(ParseSubscriberRec, &T::Subscriber)},
      {" ParseChargeRec() Error: ", 88, 129,
       {89, 91, 94, 95, 97, 99, 101, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115,
        116, 117, 121, 123, 124, 125, 127},
       Grp(ParseChargeRec, &G::Charge)},
      {" ParseCCFormRec() Error: ", 4, 4, {},
       [](Ctx& c, const std::string& r) { return ParseCCFormRec(c, r, c.g.records.g_ThisGroup); }},
      {" ParseAmbulanceRec() Error: ", 22, 36, {25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35}, Grp(ParseAmbulanceRec, &G::Ambulance)},
      {" ParseChiropractorRec() Error: ", 18, 18, {}, Grp(ParseChiropractorRec, &G::Chiropractor)},
      {" ParseSProviderRec() Error: ", 32, 36, {}, Grp(ParseSProviderRec, &G::SProvider)},
      {" ParseOProviderRec() Error: ", 40, 46, {43, 44}, Grp(ParseOProviderRec, &G::OProvider)},
      {" ParseReferralRec() Error: ", 38, 44, {41, 42}, Grp(ParseReferralRec, &G::Referral)},
      {" ParseOReferralRec()  Error: ", 40, 46, {43, 44}, Grp(ParseOReferralRec, &G::OReferral)},
      {" ParseFacilityRec() Error: ", 18, 21, {20}, Grp(ParseFacilityRec, &G::Facility)},
      {" ParseOInsuranceRec() Error: ", 70, 79, {71},
       [](Ctx& c, const std::string& r) { return ParseOInsuranceRec(c, r, c.g.records.g_ThisGroup.OIns[1]); }},
  };
  // clang-format on
  return cases;
}

// Every parser on its boundary field counts: the mandatory count, one short,
// records ending inside an optional pair or block, the full record and more;
// arbitrary text never escapes a parser. (Their run-log lines are pinned by
// the batches under tests/batches/.)
TEST_F(RecordsTest, ParserFieldCounts) {
  const std::string texts[] = {"", "////", std::string(70000, '/'), std::string(70000, 'x'),
                               "\x01\xff//\n//\r"};
  for (const ParserCase& pc : Cases()) {
    // Every count from one short of the mandatory fields to past the full
    // record: only those listed as ending inside a pair or block fail.
    std::vector<std::pair<std::size_t, bool>> counts = {{pc.mandatory - 1, false}};
    for (std::size_t n = pc.mandatory; n <= pc.full + 5; ++n) {
      counts.emplace_back(n,
                          std::find(pc.failing.begin(), pc.failing.end(), n) == pc.failing.end());
    }
    for (const auto& [n, ok] : counts) {
      SCOPED_TRACE(pc.Entry() + " with " + std::to_string(n) + " fields");
      ClearMessageArray(g.host);
      EXPECT_EQ(pc.parse(c, Record(n)), ok ? 0 : 3);
      EXPECT_EQ(MessageCount(g.host), ok ? 0 : 1);
      if (!ok && MessageCount(g.host) == 1) {
        EXPECT_EQ(g.host.gMessageArray[1].iMsgType, 3);
        EXPECT_EQ(MessageText(1), g.host.gsDllName + pc.errorText + " 9 Subscript out of range");
      }
    }
    for (const std::string& text : texts) {
      const std::int16_t result = pc.parse(c, text);
      EXPECT_TRUE(result == 0 || result == 3) << pc.Entry();
    }
  }
}

TEST_F(RecordsTest, AFailedParseKeepsWhatItFilledAndCleansNothing) {
  PracticeRec& p = top().Practice;
  p.fill("OLD");
  EXPECT_EQ(ParsePracticeRec(c, Record(28, {{2, "a-b"}}), p), 3);  // ends inside 26-33
  EXPECT_EQ(p[2] + p[27] + p[28] + p[35], "a-bF27OLDOLD");
}

// NPIs are emptied before 2007.
TEST_F(RecordsTest, NpiGateEmptiesNpisBefore2007) {
  PracticeRec& p = top().Practice;
  BProviderRec& b = top().BProvider;
  const std::pair<DateTime, const char*> cases[] = {{{2006, 12, 31, 23, 59, 59}, ""},
                                                    {{2007, 1, 1, 0, 0, 0}, "F24F24F27"}};
  for (const auto& [now, npis] : cases) {
    SetFixedClock(now);
    ASSERT_EQ(ParsePracticeRec(c, Record(25), p), 0);
    ASSERT_EQ(ParseBProviderRec(c, Record(33), b), 0);
    EXPECT_EQ(p[Practice::sNPI] + p[Practice::sNPICopy] + b[BProvider::sNPI], npis);
  }
}

TEST_F(RecordsTest, InsurancePayerIdFallbackAndPracticeNpi) {
  InsuranceRec& ins = top().Insurance;
  PracticeRec& p = top().Practice;
  p[Practice::sNPI] = "FROM AN EARLIER INSURANCE";
  p[Practice::sNPICopy] = "1234567893";
  const std::string rec = Record(37, {{2, ""}, {18, "A1/B2"}, {36, "12345/X"}});
  ASSERT_EQ(ParseInsuranceRec(c, rec, ins, 0), 0);
  // The payer id falls back to field 36; no alternate NPI: the practice's own.
  EXPECT_EQ(ins[Insurance::sPayerId] + "|" + ins[36] + "|" + ins[39] + "|" + ins[18] + "|" +
                ins[38] + "|" + p[Practice::sNPI],
            "12345|12345|X|A1|B2|1234567893");
  ASSERT_EQ(ParseInsuranceRec(c, rec, ins, 1), 0);
  EXPECT_EQ(ins[Insurance::sPayerId], "");  // a non-zero switch skips the fallback
}

// The other insurance's optional fields, absent, leave no value of an
// earlier record behind.
TEST_F(RecordsTest, OtherInsuranceOptionalFieldsStartEmpty) {
  OInsuranceRec& oi = grp().OIns[1];
  oi.fill("OLD");
  ASSERT_EQ(ParseOInsuranceRec(c, Record(70), oi), 0);
  for (std::size_t m = 70; m <= 79; ++m) EXPECT_EQ(oi[m], "") << m;
}

TEST_F(RecordsTest, ChargeOptionalGroupsDefaultsAndDerivedMembers) {
  ChargeRec& ch = grp().Charge;
  const auto parse = [&](std::size_t n, const Edits& edits = {}) {
    ASSERT_EQ(ParseChargeRec(c, Record(n, edits), ch), 0);
  };
  ch.fill("OLD");
  g.records.ThisFollowed = true;
  parse(88);
  EXPECT_FALSE(g.records.ThisFollowed);
  EXPECT_EQ(ch[96] + ch[97] + ch[98] + ch[122] + ch[95], "0.00000.000000OLD");  // 95: no field 92
  // Parsed into again and again, the record's buffer is compacted: kept and
  // new members keep their values.
  for (int i = 0; i < 20; ++i) parse(88, {{1, std::string(500, 'A')}});
  EXPECT_EQ(ch[95] + ch[1], "OLD" + std::string(500, 'A'));
  for (std::size_t m : {91, 94, 99, 104, 105, 106, 120, 121, 123, 125, 128, 129, 131}) {
    EXPECT_EQ(ch[m], "") << m;
  }
  parse(129, {{122, "0.00"}, {123, "7"}, {124, "abc"}});
  EXPECT_EQ(ch[91] + ch[95] + ch[Charge::sAmtDeductible] + ch[Charge::sModifier4] + ch[122] +
                ch[Charge::sDropDescFromNarrative],
            "F88F92F100F116F119F128");
  EXPECT_EQ(ch[125] + "|" + ch[126] + "|" + ch[127], "|7|");  // zero values

  // Approval numbers, indicator keys and the third tag part.
  parse(88, {{0, "A,B,C,D"}, {61, "NONE ON FILE"}, {62, "NON"}, {71, "K1"}});
  EXPECT_EQ(ch[Charge::sPrimaryApprovalNr] + "|" + ch[62] + "|" + ch[Charge::sIndicatorKeys] +
                ch[Charge::sRecordTagPart3],
            "|NON|~K1~C");
  parse(88, {{0, "A,B,C"}, {61, "none"}});
  EXPECT_EQ(ch[Charge::sRecordTagPart3] + ch[61], "CNONE");  // case-sensitive test
  parse(88, {{0, "A,B"}});
  EXPECT_EQ(ch[Charge::sRecordTagPart3], "");
  const std::array<std::string, 3> codes[] = {{"12/AB", "0012", "AB"},
                                              {"12345", "12345", ""},
                                              {"", "0000", ""},
                                              {" 7 / x/y", "0007", "x/y"}};
  for (const auto& [field, part1, part2] : codes) {
    parse(88, {{63, field}});
    EXPECT_EQ(ch[Charge::sCodePart1] + "|" + ch[Charge::sCodePart2], part1 + "|" + part2);
  }

  // Modifiers from the list, in order, into the empty modifier members; with
  // modifiers 1-3 set the fourth takes the first word and the rest wait.
  const auto modifiers = [&] {
    return ch[Charge::sModifier1] + ch[Charge::sModifier2] + ch[Charge::sModifier3] + "|" +
           ch[Charge::sModifier4];
  };
  parse(88, {{13, ""}, {16, ""}, {19, ""}, {84, "25  59 76 AA"}});
  EXPECT_EQ(modifiers(), "255976|");
  parse(88, {{13, "GT"}, {16, ""}, {19, ""}, {84, " 25 59 "}});
  EXPECT_EQ(modifiers(), "GT2559|");
  parse(88, {{84, "25 59 76"}});
  EXPECT_EQ(ch[Charge::sModifier4] + "|" + ch[Charge::asModifierWord1], "25|59");
  EXPECT_EQ(PopModifierWord(ch), "59");
  EXPECT_EQ(PopModifierWord(ch), "76");
  EXPECT_EQ(PopModifierWord(ch), "");

  // The blood-pressure prefix, and a narrative holding the description.
  parse(129, {{7, "BP:  120/80"}, {126, "Office visit"}});
  EXPECT_EQ(
      ch[Charge::sBPText] + "|" + ch[Charge::sProcedureDesc] + "|" + ch[Charge::sProcedureDescAlt],
      "120/80|OFFICE VISIT|");
  const std::array<std::string, 3> narratives[] = {
      {"Seen for VISIT", "1", ""},        // dropped whole
      {"Seen today", "1", "Seen today"},  // cleaned only at the end of the charge
      {"Seen for VISIT", "0", "Seen for VISIT"}};
  for (const auto& [narrative, drop, kept] : narratives) {
    parse(129, {{7, "VISIT"}, {72, narrative}, {128, drop}});
    EXPECT_EQ(ch[Charge::sNarrative] + "|" + ch[Charge::sBPText], kept + "|120/80");
  }
}

TEST_F(RecordsTest, CompanionRecordsOfACharge) {
  SProviderRec& sp = grp().SProvider;
  sp.fill("OLD");
  ASSERT_EQ(ParseSProviderRec(c, Record(32, {{3, "Anne-Marie"}, {5, "j."}, {9, ""}}), sp), 0);
  EXPECT_EQ(sp[32] + sp[33] + sp[34] + sp[35] + "|" + sp[SProvider::sFirstName] +
                sp[SProvider::sMiddleName] + sp[SProvider::sGender] + sp[SProvider::sGenderDesc],
            "|ANNEMARIEj.UUNKNOWN");

  OProviderRec& op = grp().OProvider;
  ReferralRec& rf = grp().Referral;
  ASSERT_EQ(ParseOProviderRec(c, Record(46), op), 0);
  ASSERT_EQ(ParseReferralRec(c, Record(44), rf), 0);
  ASSERT_EQ(ParseOReferralRec(c, Record(46), grp().OReferral), 0);
  EXPECT_EQ(sp[27] + op[33] + rf[31] + grp().OReferral[33] + "|" + grp().OReferral[32] +
                grp().OReferral[34],
            "|F32F34");
  // Records ending before a block keep the block's old members.
  op.fill("OLD");
  rf.fill("OLD");
  ASSERT_EQ(ParseOProviderRec(c, Record(42), op), 0);
  ASSERT_EQ(ParseReferralRec(c, Record(40), rf), 0);
  EXPECT_EQ(op[41] + op[42] + op[44] + "|" + op[OProvider::sCountry], "F41OLDOLD|");
  EXPECT_EQ(rf[39] + rf[Referral::sEntityType] + rf[42] + "|" + rf[43], "F39OLDOLD|");
  ASSERT_EQ(ParseReferralRec(c, Record(43), rf), 0);
  EXPECT_EQ(rf[Referral::sEntityType], "F40");
}

TEST_F(RecordsTest, ExtendedDataPackingAndMerge) {
  ExtDataRec ext{"OLD", "OLD"};
  const std::pair<const char*, const char*> cases[] = {
      {"6010//K1//V1//K2//V2", "~K1V1~K2V2~"},
      {"6010", ""},
      {"6010//20010ABC//val//K3", "~20010val~K3~"},  // keys cut to five; a last key alone
      {"6010//K1//.//K2//", "~K1~K2~"}};
  for (const auto& [text, packed] : cases) {
    ASSERT_EQ(ParseExtDataRec(c, text, ext), 0);
    EXPECT_EQ(ext[ExtData::sRecordTag] + "|" + ext[ExtData::sExtData],
              "6010|" + std::string(packed));
  }
  std::string huge = "T";
  for (int i = 0; i < 40000; ++i) huge += "//K";
  EXPECT_EQ(ParseExtDataRec(c, huge, ext), 3);
  EXPECT_EQ(MessageText(1), g.host.gsDllName + " ParseExtDataRec()  Error:  6 Overflow");

  // At the end of a charge the first set and the claim level are merged into
  // the second set; the sources stay as they were.
  grp().SecondSet(1)[1] = "~S1a~";
  grp().FirstSet(1)[1] = "~F1a~F1b~";
  top().ExtData[0][1] = "~T1a~";
  grp().FirstSet(3)[1] = "~F3a~";
  top().ExtData[4][1] = "~T5a~";
  grp().SecondSet(4)[1] = "~S4a~";
  ASSERT_EQ(Append26ExtData(c), 0);
  std::string merged;
  for (std::int16_t i = 1; i <= 5; ++i) merged += grp().SecondSet(i)[1] + "|";
  EXPECT_EQ(merged, "~S1a~F1a~F1b~T1a~||~F3a~|~S4a~|~T5a~|");
  EXPECT_EQ(grp().FirstSet(1)[1] + top().ExtData[0][1], "~F1a~F1b~~T1a~");
}

TEST_F(RecordsTest, EmptyingKeepsOnlyTheDocumentedMembers) {
  using Members = std::vector<std::size_t>;
  grp().Charge.fill("X");
  for (auto& ext : grp().ExtData) ext.fill("X");
  grp().Ambulance.fill("X");
  grp().SProvider.fill("X");
  grp().Referral.fill("X");
  grp().OReferral.fill("X");
  grp().Facility.fill("X");
  for (auto& oi : grp().OIns) oi.fill("X");
  grp().CustomForms = std::make_shared<CCFormInfoArray>();
  grp().CustomForms->AddTail(CCFormInfo{"CMS-849", "AMBULATE", "", "Y", ""});
  const auto oldForms = grp().CustomForms;
  top().Practice.fill("X");
  top().Subscriber.fill("X");
  for (auto& ext : top().ExtData) ext.fill("X");

  EmptyThisGroup(c);
  EmptyLastTop(c);
  EmptyThisTop(c);
  EXPECT_EQ(Filled(grp().Charge).size(), Charge::kMembers - 1);  // only the received mark goes
  for (const auto& ext : grp().ExtData) EXPECT_EQ(Filled(ext), Members{});
  EXPECT_EQ(Filled(grp().Ambulance), Members{});
  EXPECT_EQ(Filled(grp().SProvider), (Members{32, 33, 34}));
  EXPECT_EQ(Filled(grp().Referral), Members{});
  EXPECT_EQ(Filled(grp().OReferral), Members{38});
  EXPECT_EQ(Filled(grp().Facility), Members{18});
  for (std::size_t k = 1; k <= 4; ++k) {
    EXPECT_EQ(Filled(grp().OIns[k]), (Members{70, 71, 72, 73, 75, 76, 77, 78}));
  }
  EXPECT_EQ(grp().CustomForms->GetCustomFormInfo(1).sChargeCustomForm, "");
  EXPECT_EQ(oldForms->GetCustomFormInfo(1).sAnswerValue, "Y");  // a copy holding it keeps it
  EXPECT_FALSE(Received(top().Practice) || Received(top().Subscriber));
  EXPECT_EQ(top().Practice[Practice::sName], "X");
  for (const auto& ext : top().ExtData) EXPECT_EQ(Filled(ext), Members{});
  ClearChargeRec(grp().Charge);
  EXPECT_EQ(Filled(grp().Charge), Members{Charge::sRecordTagPart3});
}

// The charge group handed to last over three charges: a record that came,
// then none (last gets the kept members only), then an empty giver; and a
// member that points into a kept member's text is still emptied.
TEST_F(RecordsTest, HandingTheGroupOverKeepsWhatEachChargeSent) {
  using Members = std::vector<std::size_t>;
  const Members kept{70, 71, 72, 73, 75, 76, 77, 78};
  grp().OIns[1].fill("X");
  grp().OIns[1][OInsurance::sCountry] = "USA";
  grp().Ambulance.fill("A");
  CopyThisGroupToLast(c);
  ChargeGroup& last = g.g_LastGroup();
  EXPECT_EQ(Filled(last.OIns[1]).size(), OInsurance::kMembers);
  EXPECT_EQ(last.Ambulance[5], "A");
  EXPECT_EQ(Filled(grp().OIns[1]), kept);
  EXPECT_EQ(Filled(grp().Ambulance), Members{});

  CopyThisGroupToLast(c);  // no record for the second charge
  EXPECT_EQ(Filled(last.OIns[1]), kept);
  EXPECT_EQ(last.OIns[1][OInsurance::sCountry], "USA");
  EXPECT_EQ(Filled(last.Ambulance), Members{});
  EXPECT_EQ(Filled(grp().OIns[1]), kept);

  // A member set to a view of a kept member's text adds nothing to the
  // buffer; emptying the group must still find it.
  grp().OIns[1][5] = Text(grp().OIns[1][OInsurance::sCountry]);
  EXPECT_EQ(last.OIns[1][5], "");
  CopyThisGroupToLast(c);
  EXPECT_EQ(last.OIns[1][5], "USA");
  EXPECT_EQ(Filled(grp().OIns[1]), kept);

  // The same through the member list, as a parser stores its fields: the
  // group emptied at the last charge must not be taken as still empty.
  auto members = grp().OIns[1].members();
  members.SetSpan(6, Span{0, 1});
  CopyThisGroupToLast(c);
  EXPECT_EQ(last.OIns[1][6].size(), 1u);
  EXPECT_EQ(Filled(grp().OIns[1]), kept);
  CopyThisGroupToLast(c);
  EXPECT_EQ(last.OIns[1][6], "");

  grp().OIns[1].Clear();
  CopyThisGroupToLast(c);
  EXPECT_EQ(Filled(last.OIns[1]), Members{});
  EXPECT_EQ(Filled(grp().OIns[1]), Members{});
}

CCFormInfo Answer(const std::string& form, const std::string& key, const std::string& answer) {
  return CCFormInfo{form, key, "", answer, ""};
}

TEST(CustomForms, TheAnswerListAndItsLimits) {
  // The narrative spreads over free positions (three at most, only on its
  // own form); a position the host filled is not overwritten.
  CCFormInfoArray list;
  list.AddTail(Answer("CMS-849", "NARRATIVE", "one;two;three;four"));
  list.AddTail(Answer("CMS-849", "AMBULATE", "Y"));
  list.AddTail(Answer("CMS-10126", "NARRATIVE", "a;b"));
  std::string all;
  for (std::int16_t i = 1; i <= 6; ++i) {
    const CCFormInfo& info = list.GetCustomFormInfo(i);
    all += info.sAnswerValue + "," + info.sQuestionNumber + "," + info.sQuestionIDName + "|";
  }
  EXPECT_EQ(
      all, "one,C1,NARRATIVE|two,C2,NARRATIVE|three,C3,NARRATIVE|Y,B4,AMBULATE|a;b,,NARRATIVE|,,|");
  EXPECT_EQ(list.GetCustomFormInfo(3).sQuestionType, "T");
  CCFormInfoArray held;
  held.GetCustomFormInfo(2) = Answer("CMS-849", "AMBULATE", "N");
  held.AddTail(Answer("CMS-849", "NARRATIVE", "a;b;c"));
  EXPECT_EQ(held.GetCustomFormInfo(1).sAnswerValue + held.GetCustomFormInfo(2).sAnswerValue +
                held.GetCustomFormInfo(3).sChargeCustomForm,
            "aN");
  EXPECT_THROW(list.GetCustomFormInfo(0), Failure);
  EXPECT_THROW(list.GetCustomFormInfo(101), Failure);
  CCFormInfoArray full;
  for (int i = 1; i <= 99; ++i) full.AddTail(Answer("CMS-849", "HCPCS1", "x"));
  full.AddTail(Answer("CMS-849", "NARRATIVE", "last;lost;gone"));
  full.AddTail(Answer("CMS-849", "HCPCS2", "no room"));
  EXPECT_EQ(full.GetCustomFormInfo(99).sAnswerValue + full.GetCustomFormInfo(100).sAnswerValue,
            "xlast");
}

// Cleared groups share one empty list: an answer for one charge must land in
// a list of its own, never in the shared one or in the last charge's list.
TEST_F(RecordsTest, CustomFormRecordsGetAListOfTheirOwn) {
  grp().CustomForms.reset();
  ASSERT_EQ(ParseCCFormRec(c, "ignored//CMS-849//PATIENTHEIGHT//70", grp()), 0);
  ASSERT_EQ(ParseCCFormRec(c, "//CMS-849//SECBNAME//Dr. Who//extra", grp()), 0);
  ASSERT_TRUE(grp().CustomForms);
  const CCFormInfo& first = grp().CustomForms->GetCustomFormInfo(1);
  EXPECT_EQ(first.sQuestionIDName + first.sAnswerValue + first.sQuestionNumber, "PATIENTHEIGHT70X");
  EXPECT_EQ(grp().CustomForms->GetCustomFormInfo(2).sAnswerValue, "Dr. Who");

  EmptyThisGroup(c);
  EmptyLastGroup(c, g.g_LastGroup());
  EXPECT_EQ(grp().CustomForms, g.g_LastGroup().CustomForms);
  ASSERT_EQ(ParseCCFormRec(c, "6005//CMS-849//AMBULATE//N", grp()), 0);
  EXPECT_NE(grp().CustomForms, NoCustomForms());
  EXPECT_EQ(NoCustomForms()->GetCustomFormInfo(1).sChargeCustomForm +
                g.g_LastGroup().CustomForms->GetCustomFormInfo(1).sChargeCustomForm,
            "");
  const auto held = grp().CustomForms;  // the last group takes it by reference
  g.g_LastGroup().CustomForms = grp().CustomForms;
  EmptyThisGroup(c);
  ASSERT_EQ(ParseCCFormRec(c, "6005//CMS-849//SECBNAME//X", grp()), 0);
  EXPECT_EQ(g.g_LastGroup().CustomForms, held);
  EXPECT_EQ(
      held->GetCustomFormInfo(1).sAnswerValue + "|" + held->GetCustomFormInfo(2).sChargeCustomForm,
      "N|");
  EXPECT_EQ(grp().CustomForms->GetCustomFormInfo(1).sAnswerValue, "X");
}

// Text and number helpers.

using V = std::vector<std::string>;

V Split(const std::string& text, const std::string& delimiter = "//") {
  V fields;
  SplitFields(text, fields, delimiter);
  return fields;
}

// Whether `run` fails with the overflow failure.
bool Overflows(const std::function<void()>& run) {
  try {
    run();
  } catch (const Failure& f) {
    return f.number == 6 && f.description == "Overflow";
  }
  return false;
}

TEST(SplitFields, CutsOnTheDelimiterCleansFieldsAndStopsAt32767) {
  EXPECT_EQ(Split("A// B //."), (V{"A", " B", ""}));
  EXPECT_EQ(Split("A//B//"), (V{"A", "B"}));  // a trailing delimiter adds nothing
  EXPECT_EQ(Split("A/B///C"), (V{"A/B", "/C"}));
  EXPECT_EQ(Split("x\t "), (V{"x\t"}));  // only blanks are cut
  EXPECT_EQ(Split("...//. .//.5//5.//.  //a.b"), (V{"", "", ".5", "5.", "", "a.b"}));
  EXPECT_EQ(Split("A;B;;C", ";"), (V{"A", "B", "", "C"}));
  for (std::size_t k = 0; k < 20; ++k) {  // each place in a word of the text
    const std::string lead(k, 'a');
    EXPECT_EQ(Split(lead + "/x//y/"), (V{lead + "/x", "y/"})) << k;
    EXPECT_EQ(Split(lead + "///b////c//"), (V{lead, "/b", "", "c"})) << k;
  }
  V fields{"old0", "old1"};
  SplitFields("", fields, "//");
  EXPECT_EQ(fields, (V{"old0"}));  // element 0 keeps its old value
  SplitFields("A//B", fields, "");
  EXPECT_EQ(fields, (V{"old0"}));  // no delimiter: untouched

  std::string text = "X";
  for (int i = 1; i < 32767; ++i) text += "//X";
  EXPECT_EQ(Split(text).size(), 32767u);
  EXPECT_TRUE(Overflows([&] { Split(text + "//X"); }));
}

// A record's fields as spans of its buffer: offsets from the text's place,
// and only the fields of the text at hand, though the room stays as large
// as the longest text made it.
TEST(SplitFields, SpansCountOnlyTheFieldsOfTheTextAtHand) {
  std::vector<Span> room;
  const auto cut = [&](std::string_view text, std::uint32_t base) {
    std::string out;
    for (const Span& f : SplitFields(text, base, room)) {
      out += std::to_string(f.off) + "+" + std::to_string(f.len) + " ";
    }
    return out;
  };
  EXPECT_EQ(cut("AB//C// //D.", 10), "10+2 14+1 17+0 20+2 ");
  const std::size_t grown = room.size();
  EXPECT_EQ(cut("X//YZ", 0), "0+1 3+2 ");
  EXPECT_EQ(cut("", 5), "5+0 ");
  EXPECT_EQ(room.size(), grown);
}

// The word-at-a-time cut against a plain byte-by-byte one, on texts made of
// delimiter bytes, blanks, dots and letters at every length and alignment.
TEST(SplitFields, AgreesWithAPlainCutOnMixedTexts) {
  const auto plainCut = [](const std::string& text) {
    V fields;
    std::size_t field = 0;
    for (std::size_t at = 0; at + 1 < text.size(); ++at) {
      if (text[at] != '/' || text[at + 1] != '/') continue;
      fields.push_back(text.substr(field, at - field));
      field = at + 2;
      ++at;
    }
    if (field < text.size()) fields.push_back(text.substr(field));
    for (std::string& f : fields) {
      while (!f.empty() && f.back() == ' ') f.pop_back();
      if (f == "." || (f.size() > 1 && f.front() == '.' && f.back() == '.')) f.clear();
    }
    return fields;
  };
  std::uint32_t seed = 12345;
  const char kBytes[] = {'/', '/', '/', 'a', ' ', '.'};
  for (int n = 0; n < 3000; ++n) {
    std::string text;
    const std::size_t length = 1 + n % 73;
    for (std::size_t i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      text += kBytes[(seed >> 16) % sizeof kBytes];
    }
    EXPECT_EQ(Split(text), plainCut(text)) << text;
  }
}

// Keys stored one after another, most repeating the one before up to their
// last field: the same fields and answers as cutting every key whole, also
// when the rest begins with delimiter bytes, blanks or dots, when a key is
// short, ends in a delimiter or has more fields than are kept.
TEST(StoreKey, AKeyRepeatingTheLastOneUpToItsLastFieldMatchesOneCutWhole) {
  KeyFields keys;
  KeyFields whole;
  std::vector<std::string_view> room;
  std::vector<std::string_view> wholeRoom;
  std::uint32_t seed = 777;
  const auto next = [&seed](std::uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  const char* const kPieces[] = {"", "B1", "4711", "0", ".", " ", "/", "/X", "A.", "1000", "6000"};
  std::string key = "B1//P//A1//4711//0//0//0//0//0//0//1000";
  for (int n = 0; n < 4000; ++n) {
    const std::string before = key;
    switch (next(5)) {
      case 0:  // a new record type, or another rest
      case 1: {
        const std::size_t last = key.rfind("//");
        key = key.substr(0, last == std::string::npos ? 0 : last + 2) + kPieces[next(11)] +
              (next(3) == 0 ? std::string("//") + kPieces[next(11)] : "");
        break;
      }
      case 2:  // a field earlier in the key changes
        key.insert(next(static_cast<std::uint32_t>(key.size()) + 1), kPieces[next(11)]);
        break;
      case 3:  // fewer or more fields
        key = next(2) == 0 ? key.substr(0, next(static_cast<std::uint32_t>(key.size()) + 1))
                           : key + "//" + kPieces[next(11)];
        break;
      default:  // a key of its own
        key.clear();
        for (std::uint32_t f = 0, count = 9 + next(5); f < count; ++f) {
          key += (f == 0 ? "" : "//") + std::string(kPieces[next(11)]);
        }
    }
    std::string copy = key;
    const bool stored = StoreKey(keys, copy, room);
    const std::span<const std::string_view> fields = SplitFieldViews(key, wholeRoom);
    whole.Store(key, fields);
    copy.assign(copy.size(), '#');  // the fields must not point into the caller's text
    ASSERT_EQ(stored, fields.size() >= KeyFields::kCount) << before << " then " << key;
    for (std::size_t i = 0; i < KeyFields::kCount; ++i) {
      ASSERT_EQ(keys[i], whole[i]) << i << ": " << before << " then " << key;
    }
  }
}

TEST(SquashAllPunctuation, OptionsAndTheSixteenBitLimit) {
  HostState h;
  EXPECT_EQ(SquashAllPunctuation(h, "#1 & 2/3\t\xC3\xA9z"), "1  23Z");
  EXPECT_EQ(SquashAllPunctuation(h, "A B.C", true, false, ""), "AB.C");
  EXPECT_EQ(SquashAllPunctuation(h, "a-B/C D.", false, true, "-"), "A-BC D");
  // A clean start, then what changes: a NUL byte is dropped, not kept.
  EXPECT_EQ(SquashAllPunctuation(h, std::string("AB 1\0C", 6)), "AB 1C");
  EXPECT_EQ(SquashAllPunctuation(h, "SMITH jr."), "SMITH JR.");
  EXPECT_EQ(SquashAllPunctuation(h, "O-NEIL", false, false, "-"), "O-NEIL");
  EXPECT_EQ(MessageCount(h), 0);
  // A longer text is reported and comes back empty.
  EXPECT_EQ(SquashAllPunctuation(h, std::string(32767, 'A')).size(), 32767u);
  EXPECT_EQ(SquashAllPunctuation(h, std::string(32768, 'A')), "");
  ASSERT_EQ(MessageCount(h), 1);
  EXPECT_EQ(h.gMessageArray[1].sMsgText, h.gsDllName + " SquashAllPunctuation() 6 Overflow");

  // The quick test for a text the filter leaves as it is agrees with the
  // filter itself, at the length limit too.
  std::uint32_t seed = 7;
  std::vector<std::string> texts = {"",
                                    "SMITH JR.",
                                    "smith",
                                    "A&B",
                                    std::string("A\0", 2),
                                    "\xC3\xA9",
                                    std::string(32767, 'A'),
                                    std::string(32768, 'A')};
  const char kBytes[] = {'A', 'Z', '0', '9', ' ', '.', 'a', '-', '\x7F', '\x80', '@', '['};
  for (int n = 0; n < 500; ++n) {
    std::string text;
    for (int i = n % 7; i > 0; --i) {
      seed = seed * 1103515245u + 12345u;
      text += kBytes[(seed >> 16) % sizeof kBytes];
    }
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    HostState fresh;
    const bool unchanged = SquashAllPunctuation(fresh, text) == text && MessageCount(fresh) == 0;
    EXPECT_EQ(SquashedAlready(text), unchanged) << text.substr(0, 20) << " " << text.size();
  }
}

TEST(TextHelpers, CountriesPaddingSplittingAndRemoval) {
  const std::pair<const char*, const char*> countries[] = {
      {"USA", ""},       {"US", ""},     {"1.0", ""}, {"CANADA", "CA"}, {"2.0", "CA"},
      {"GERMANY", "DE"}, {"Canada", ""}, {"usa", ""}, {"FRANCE", ""},   {"", ""}};
  for (const auto& [name, code] : countries) EXPECT_EQ(GetCountryCode(name), code) << name;

  // Short texts are padded, long ones never cut.
  EXPECT_EQ(PadWithChar("7", 4, "0", false) + PadWithChar("7", 4, "0", true) +
                PadWithChar("", 4, "0", false) + PadWithChar("12345", 4, "0", false),
            "00077000000012345");
  EXPECT_EQ(PadWithSpaces("AB", 4, false) + PadWithSpaces("AB", -3, true), "  ABAB");
  EXPECT_THROW(PadWithChar("1", 4, "", false), Failure);
  EXPECT_THROW(PadWithChar(std::string(40000, 'x'), 4, "0", false), Failure);

  const std::array<std::string, 3> splits[] = {
      {"12/34", "12", "34"}, {"/34", "", "34"}, {" 1234 ", "1234", ""}, {" A / B/C ", "A", "B/C"}};
  for (const auto& [text, left, right] : splits) {
    std::string l, r = "old";
    SplitAtChar(text, "/", l, r);
    EXPECT_EQ(l + "|" + r, left + "|" + right) << text;
  }
  std::string same = "X/Y", right;
  SplitAtChar(same, "/", same, right);  // the text may be its own left part
  EXPECT_EQ(same + right, "XY");

  HostState h;
  EXPECT_EQ(StripMidStringFromWholeString(h, "BC", "ABCDBC"), "ADBC");
  EXPECT_EQ(StripMidStringFromWholeString(h, "", "ABC"), "ABC");
  EXPECT_EQ(StripMidStringFromWholeString(h, "abc", "ABC"), "ABC");
  EXPECT_EQ(Strip19FromNarrative(h, "19-A;B;C"), "A B;C");
  EXPECT_EQ(Strip19FromNarrative(h, "20-A;B"), "20-A;B");
  EXPECT_EQ(Strip19FromNarrative(h, " 19-A;B"), " 19-A;B");
}

TEST(FormatAmount, StylesAndRounding) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"0", 4, "0.00"},    {"0", 2, ".00"},       {"0", 1, ""},       {"-12.345", 4, "-12.35"},
      {"2.5", 3, "3"},     {"12.345", 5, "1234"},  // halves away from zero
      {"-0.015", 5, "-2"}, {"-0.01", 5, "-1"},    {"5.50", 7, "5.5"}, {"1.999", 1, "2"}};
  for (const auto& [text, style, formatted] : cases) {
    EXPECT_EQ(FormatAmount(Currency::FromText(text), style), formatted) << text << " " << style;
  }
}

// Amounts at and beyond the ends of the currency range and units beyond
// single precision: the ends are exact, one step beyond (after rounding too)
// is the overflow failure, and so is a sum that leaves the range.
TEST(Currency, RangeEndsAreExactAndNothingWraps) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  const std::pair<const char*, std::optional<std::int64_t>> texts[] = {
      {"922337203685477.5807", kMax},          {"-922337203685477.5808", kMin},
      {"00000000000000000000001.5", 15000},    {"922337203685477.5808", std::nullopt},
      {"922337203685477.58075", std::nullopt}, {"-922337203685477.58086", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& [text, raw] : texts) {
    SCOPED_TRACE(text);
    if (raw) {
      EXPECT_EQ(Currency::FromText(text).raw(), *raw);
    } else {
      EXPECT_TRUE(Overflows([&] { Currency::FromText(text); }));
    }
  }
  const Currency half = Currency::FromText("500000000000000.00");
  EXPECT_TRUE(Overflows([&] { return half + half + half; }));
  EXPECT_TRUE(Overflows([&] { return Currency::FromRaw(kMin) - Currency::FromRaw(1); }));
  EXPECT_TRUE(Overflows([&] { return Currency::FromDouble(1e15); }));
  EXPECT_TRUE(Overflows([&] { return Currency::FromUnits(kMax / 1000); }));
  EXPECT_EQ(Currency::FromRaw(kMax) + Currency::FromRaw(kMin), Currency::FromRaw(-1));
  EXPECT_EQ(Currency::FromRaw(kMin).magnitude(), std::uint64_t{1} << 63);
  EXPECT_EQ(PlainDecimal(Currency::FromRaw(kMin)), "-922337203685477.5808");
  EXPECT_EQ(PlainDecimal(Currency::FromRaw(kMax - 7)), "922337203685477.58");
  EXPECT_EQ(TextToSingle("340282346638528859811704183484516925440"),
            std::numeric_limits<float>::max());
  EXPECT_TRUE(Overflows([&] { TextToSingle("340282400000000000000000000000000000000"); }));
}

// The clock answers the local time of the current second, also after the
// second changes and after a fixed clock is set and taken away again.
TEST(Clock, NowIsTheLocalTimeOfTheCurrentSecond) {
  const auto local = [](std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return std::tuple(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                      tm.tm_sec);
  };
  const auto fields = [](const DateTime& d) {
    return std::tuple(d.year, d.month, d.day, d.hour, d.minute, d.second);
  };
  const auto matches = [&] {
    const std::time_t before = std::time(nullptr);
    const DateTime now = Now();
    const std::time_t after = std::time(nullptr);
    return fields(now) == local(before) || fields(now) == local(after);
  };
  EXPECT_TRUE(matches());
  const std::time_t start = std::time(nullptr);
  while (std::time(nullptr) == start) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(matches());
  const DateTime fixed{2006, 12, 31, 23, 59, 59};
  SetFixedClock(fixed);
  EXPECT_EQ(fields(Now()), fields(fixed));
  SetFixedClock(std::nullopt);
  EXPECT_TRUE(matches());
}

// A text's number: the leading number after blanks and tabs, signs and a
// decimal point allowed, anything after it ignored, 0 without digits. Whole
// numbers take a shorter way; both must give what the general conversion of
// the number gives, down to the sign of zero.
TEST(NumericValue, AgreesWithTheGeneralConversion) {
  const auto general = [](std::string_view number) {
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    double v = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), v);
    return v;
  };
  const std::tuple<const char*, const char*> cases[] = {
      {"42", "42"},
      {"  -17abc", "-17"},
      {"\t+8", "+8"},
      {"-0", "-0"},
      {"000000000000123", "000000000000123"},
      {"999999999999999", "999999999999999"},
      {"9999999999999999", "9999999999999999"},
      {"12345678901234567890", "12345678901234567890"},
      {"-123456789012345", "-123456789012345"},
      {"3.", "3."},
      {"-.5", "-.5"},
      {"1e5", "1"},
      {"", ""},
      {"-", ""},
      {"abc", ""}};
  for (const auto& [text, number] : cases) {
    SCOPED_TRACE(text);
    const double expected = general(number);
    const double got = NumericValue(text);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(std::signbit(got), std::signbit(expected));
  }
}

// Units and amounts written as printf writes them ("%.7g" for single, "%.15g"
// for double precision, fixed where that would use an exponent, trailing
// decimal zeros cut): whole numbers, which take a shorter way, and fractions
// alike, near the points where printf changes form.
template <typename T>
std::string PrintfPlain(T value, int digits, int fixed) {
  char buf[512];
  const double d = static_cast<double>(value);
  if (std::fabs(d) >= 1e15) {
    std::snprintf(buf, sizeof buf, "%.0f", d);
  } else {
    std::snprintf(buf, sizeof buf, "%.*g", digits, d);
    if (std::strchr(buf, 'e') != nullptr) std::snprintf(buf, sizeof buf, "%.*f", fixed, d);
  }
  std::string s = buf;
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

TEST(PlainDecimal, WritesWhatPrintfWrites) {
  const double values[] = {
      0,         -0.0,     1,        -1,        2.5,       0.1,        1.25,
      9999999,   10000000, 16777217, 123456789, -98765432, 1e14,       999999999999999,
      1e15,      -1e15,    4.5e15,   0.000123,  1e-7,      123.456789, 1234567.5,
      7.0000001, 99999995, 1e20};
  for (const double v : values) {
    SCOPED_TRACE(v);
    EXPECT_EQ(PlainDecimal(v), PrintfPlain(v, 15, 15));
    const auto f = static_cast<float>(v);
    EXPECT_EQ(PlainDecimal(f), PrintfPlain(f, 7, 10));
  }
  for (int i = -3000; i <= 3000; ++i) {
    const float quarter = static_cast<float>(i) / 4;
    ASSERT_EQ(PlainDecimal(quarter), PrintfPlain(quarter, 7, 10)) << i;
  }
}

}  // namespace
}  // namespace wcomp837::testing
