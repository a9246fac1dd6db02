// Custom-form answers: the question numbering of the certificate forms, the
// charge's answer list and the record that adds to it.
#include <string_view>

#include "platform/failure.h"
#include "records/parsers.h"
#include "state/messages.h"
#include "state/runlog.h"
#include "wcomp837/line_classes.h"

namespace wcomp837 {
namespace {

constexpr std::string_view kCms849 = "CMS-849";
constexpr std::string_view kCms10126 = "CMS-10126";
constexpr std::string_view kNarrativeNumber = "C1";
// Positions a CMS-849 narrative answer may spread over (C1, C2, C3).
constexpr std::size_t kNarrativeParts = 3;

struct QuestionRow {
  std::string_view form;
  std::string_view key;
  std::string_view number;
  std::string_view type;
};

constexpr QuestionRow kQuestions[] = {
    {kCms849, "AMBULATE", "B4", "O"},
    {kCms849, "ARTHRITISHIPKNEE", "B1", "O"},
    {kCms849, "CANNOTSTANDUP", "B3", "O"},
    {kCms849, "CERTIFICATIONDATE", "X", "D"},
    {kCms849, "CERTIFICATIONTYPE", "X", "O"},
    {kCms849, "HCPCS1", "X", "T"},
    {kCms849, "HCPCS2", "X", "T"},
    {kCms849, "HCPCS3", "X", "T"},
    {kCms849, "HCPCS4", "X", "T"},
    {kCms849, "MODALITIESFAILED", "B5", "O"},
    {kCms849, "NARRATIVE", kNarrativeNumber, "T"},
    {kCms849, "NEEDLENGTH", "X", "I"},
    {kCms849, "NEUROMUSCULAR", "B2", "O"},
    {kCms849, "PATIENTHEIGHT", "X", "T"},
    {kCms849, "PATIENTWEIGHT", "X", "T"},
    {kCms849, "SECBEMPLOYER", "X", "T"},
    {kCms849, "SECBNAME", "X", "T"},
    {kCms849, "SECBTITLE", "X", "T"},
    {kCms10126, "ADMINISTRATIONMETHOD", "5", "T"},
    {kCms10126, "ADMINISTRATIONROUTE", "9", "T"},
    {kCms10126, "AMINOACIDCONCENTRATION", "8", "I"},
    {kCms10126, "AMINOACIDML", "8", "T"},
    {kCms10126, "AMINOACIDPROTEIN", "8", "T"},
    {kCms10126, "CALORIES1", "4A", "T"},
    {kCms10126, "CALORIES2", "4B", "T"},
    {kCms10126, "CERTIFICATIONDATE", "X", "D"},
    {kCms10126, "CERTIFICATIONTYPE", "X", "O"},
    {kCms10126, "DAYSADMINISTERED", "6", "T"},
    {kCms10126, "DEXTROSECONCENTRATION", "8", "I"},
    {kCms10126, "DEXTROSEML", "8", "T"},
    {kCms10126, "HCPCS1", "X", "T"},
    {kCms10126, "HCPCS2", "X", "T"},
    {kCms10126, "HCPCS3", "X", "T"},
    {kCms10126, "HCPCS4", "X", "T"},
    {kCms10126, "LIPIDSCONCENTRATION", "8", "I"},
    {kCms10126, "LIPIDSDAYS", "8", "T"},
    {kCms10126, "LIPIDSML", "8", "T"},
    {kCms10126, "NEEDLENGTH", "X", "I"},
    {kCms10126, "NONFUNCTIONBEFORESMALLBOWEL", "1", "O"},
    {kCms10126, "NUTRITIONVIATUBE", "2", "O"},
    {kCms10126, "PATIENTHEIGHT", "X", "T"},
    {kCms10126, "PATIENTWEIGHT", "X", "T"},
    {kCms10126, "PRODUCTHCPCS1", "3A", "T"},
    {kCms10126, "PRODUCTHCPCS2", "3B", "T"},
    {kCms10126, "SEVEREMALABSORPTION", "7", "O"},
};

bool IsFree(const CCFormInfo& info) {
  return info.sChargeCustomForm.empty();
}

// The parts of a text cut at ";" (one part when there is none).
std::vector<std::string> SplitAtSemicolons(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t pos = text.find(';'); pos != std::string::npos; pos = text.find(';', start)) {
    parts.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

void CCFormInfo::EmptyMe() {
  sChargeCustomForm.clear();
  sQuestionIDName.clear();
  sQuestionType.clear();
  sAnswerValue.clear();
  sQuestionNumber.clear();
}

void CCFormInfo::DetermineQuestionNumber() {
  sQuestionNumber.clear();
  for (const QuestionRow& row : kQuestions) {
    if (sChargeCustomForm == row.form && sQuestionIDName == row.key) {
      sQuestionNumber = row.number;
      sQuestionType = row.type;
      return;
    }
  }
}

CCFormInfoArray::CCFormInfoArray() = default;

void CCFormInfoArray::Empty_Me() {
  for (CCFormInfo& info : items_) info.EmptyMe();
}

CCFormInfo& CCFormInfoArray::GetCustomFormInfo(std::int16_t n) {
  if (n < 1 || n > kPositions) Raise(failure::kSubscript);
  return items_[static_cast<std::size_t>(n - 1)];
}

const CCFormInfo& CCFormInfoArray::GetCustomFormInfo(std::int16_t n) const {
  if (n < 1 || n > kPositions) Raise(failure::kSubscript);
  return items_[static_cast<std::size_t>(n - 1)];
}

void CCFormInfoArray::AddTail(const CCFormInfo& obj) {
  std::size_t i = 0;
  while (i < items_.size() && !IsFree(items_[i])) ++i;
  if (i == items_.size()) return;

  CCFormInfo& slot = items_[i];
  slot.sChargeCustomForm = obj.sChargeCustomForm;
  slot.sQuestionIDName = obj.sQuestionIDName;
  slot.sAnswerValue = obj.sAnswerValue;
  slot.DetermineQuestionNumber();
  if (slot.sQuestionNumber != kNarrativeNumber || slot.sChargeCustomForm != kCms849) return;

  // The narrative answer spreads over the following free positions as C2 and
  // C3; parts that find no free position are dropped.
  const std::vector<std::string> parts = SplitAtSemicolons(slot.sAnswerValue);
  slot.sAnswerValue = parts[0];
  for (std::size_t k = 1; k < parts.size() && k < kNarrativeParts; ++k) {
    if (i + k >= items_.size() || !IsFree(items_[i + k])) break;
    CCFormInfo& next = items_[i + k];
    next.sChargeCustomForm = slot.sChargeCustomForm;
    next.sQuestionIDName = slot.sQuestionIDName;
    next.sAnswerValue = parts[k];
    next.sQuestionNumber = "C" + std::to_string(k + 1);
    next.sQuestionType = "T";
  }
}

namespace {

// A list of answers for a group: one no group uses any more is emptied and
// taken again, so that lists are not allocated charge after charge.
std::shared_ptr<CCFormInfoArray> FreshCustomForms() {
  thread_local std::vector<std::shared_ptr<CCFormInfoArray>> lists;
  for (const std::shared_ptr<CCFormInfoArray>& list : lists) {
    if (list.use_count() == 1) {
      list->Empty_Me();
      return list;
    }
  }
  return lists.emplace_back(std::make_shared<CCFormInfoArray>());
}

}  // namespace

std::int16_t ParseCCFormRec(const RecordCtx& c, const std::string& rec, ChargeGroup& group) {
  try {
    LogLine(c.host, "ParseCCFormRec()");
    thread_local std::vector<std::string_view> fields;
    thread_local CCFormInfo info;
    SplitFields(rec, fields, "//");
    if (fields.size() < 4) Raise(failure::kSubscript);
    info.sChargeCustomForm = fields[1];
    info.sQuestionIDName = fields[2];
    info.sAnswerValue = fields[3];
    if (!group.CustomForms || group.CustomForms == NoCustomForms()) {
      group.CustomForms = FreshCustomForms();
    }
    group.CustomForms->AddTail(info);
    return 0;
  } catch (...) {
    AddFailureMessage(c.host, " ParseCCFormRec() Error: ", std::current_exception());
    return 3;
  }
}

}  // namespace wcomp837
