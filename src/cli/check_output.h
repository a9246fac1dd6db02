// How "wcomp837 check" shows what it found: as text lines or as JSON lines
// (one object per finding, transaction set, file and the total).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "x12/guide/check.h"

namespace wcomp837::cli {

// The sum over the files checked.
struct CheckRun {
  std::int64_t files = 0;
  std::int64_t unreadable = 0;
  guide::CheckTotals totals;
  void Add(const guide::CheckTotals& t);
};

class CheckOutput : public guide::CheckObserver {
 public:
  // next also receives everything (the acknowledgment writer), or nullptr.
  CheckOutput(std::ostream& out, std::ostream& err, bool json, bool quiet,
              guide::CheckObserver* next)
      : out_(out), err_(err), json_(json), quiet_(quiet), next_(next) {}

  void File(const std::string& path) { path_ = path; }
  void Interchange(const guide::InterchangeInfo& info) override;
  void GroupStart(const guide::GroupInfo& group) override;
  void SetStart(std::string_view setId, std::string_view control) override;
  void Found(const guide::Finding& finding) override;
  void SetEnd(const guide::SetResult& result) override;
  void GroupEnd(const guide::GroupResult& result) override;

  void FileDone(const guide::CheckTotals& totals);
  void FileUnreadable(const std::string& problem);
  void RunDone(const CheckRun& run, int status);

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool json_;
  bool quiet_;
  guide::CheckObserver* next_;
  std::string path_;
};

}  // namespace wcomp837::cli
