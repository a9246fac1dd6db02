// A host driven by a script of lines, each starting with an operation letter:
//
//   R<key>\t<record>          FormatRecord
//   H<key>\t<field>\t<count>  FormatRecord with <count> copies of <field>
//   M<number>\t<value>        HereIsAMessage (the output folder and the claim
//                             file name are kept inside the given folder)
//   G<index>                  GetAMessage
//   E                         ProcessEndOfFile
//   P                         ProcessFormattedRecords
//   N                         a second object on the same thread
//   anything else             ignored
//
// Without reports, messages 7 and 9 (printer and printing) are skipped.
//
// The batch is always ended and checked after the last line. Every public
// method must answer 0, 1 or 3 and every message list must end; the first
// answer that does not is kept as the script's problem. Used by the fuzzer
// and by the tests that replay its findings.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "wcomp837/format_class.h"

namespace wcomp837::fuzzing {

class HostScript {
 public:
  explicit HostScript(std::string outFolder, bool reports = true)
      : out_(std::move(outFolder)), reports_(reports) {}

  // Runs the script with a fresh object; false when an answer was wrong.
  bool Run(std::string_view script) {
    problem_.clear();
    fc_ = std::make_unique<Format_Class>();
    Configure();
    while (!script.empty()) {
      const auto end = script.find('\n');
      const std::string_view line = script.substr(0, end);
      script = end == std::string_view::npos ? std::string_view{} : script.substr(end + 1);
      if (!line.empty()) RunLine(line);
    }
    Answer("ProcessEndOfFile", fc_->ProcessEndOfFile());
    Answer("ProcessFormattedRecords", fc_->ProcessFormattedRecords());
    fc_.reset();
    return problem_.empty();
  }
  const std::string& problem() const { return problem_; }

 private:
  // Checks an answer and reads the messages after a non-zero one, as the
  // host does.
  void Answer(const char* call, std::int16_t result) {
    if (result != 0 && result != 1 && result != 3) {
      Problem(std::string(call) + " answered " + std::to_string(result));
    }
    if (result == 0) return;
    for (std::int32_t i = 1; i < 100000; ++i) {
      if (fc_->GetAMessage(i) == "END") return;
    }
    Problem(std::string(call) + " left a message list without end");
  }
  void Problem(std::string text) {
    if (problem_.empty()) problem_ = std::move(text);
  }

  void Configure() {
    Answer("HereIsAMessage", fc_->HereIsAMessage("1", out_));
    Answer("HereIsAMessage", fc_->HereIsAMessage("2", "claims.837"));
  }

  // A claim file name that stays inside the output folder.
  static std::string SafeFileName(std::string_view wanted) {
    std::string name;
    for (char ch : wanted.substr(0, 64)) {
      const bool plain = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                         (ch >= '0' && ch <= '9') || ch == '_' || ch == '-';
      name += plain ? ch : '_';
    }
    return name.empty() ? "claims.837" : name + ".837";
  }

  static std::pair<std::string_view, std::string_view> SplitTab(std::string_view text) {
    const auto tab = text.find('\t');
    if (tab == std::string_view::npos) return {text, {}};
    return {text.substr(0, tab), text.substr(tab + 1)};
  }

  static std::int32_t SmallNumber(std::string_view text, std::int32_t limit) {
    std::int64_t n = 0;
    for (char ch : text.substr(0, 9)) {
      if (ch >= '0' && ch <= '9') n = n * 10 + (ch - '0');
    }
    return static_cast<std::int32_t>(n % (static_cast<std::int64_t>(limit) + 1));
  }

  void RunLine(std::string_view line) {
    const std::string_view rest = line.substr(1);
    switch (line.front()) {
      case 'R': {
        auto [key, rec] = SplitTab(rest);
        key_.assign(key);
        rec_.assign(rec);
        Answer("FormatRecord", fc_->FormatRecord(key_, rec_));
        break;
      }
      case 'H': {
        auto [key, tail] = SplitTab(rest);
        auto [field, count] = SplitTab(tail);
        // At most 4 KB of record text per line: more fields than any layout
        // has, while each input stays quick (field counts beyond 16 bits are
        // tried by the record tests).
        const std::int32_t n = std::min<std::int32_t>(
            SmallNumber(count, 200000), static_cast<std::int32_t>(4096 / (field.size() + 2)));
        // n copies of field + "//", doubled up rather than appended one by one.
        const std::size_t total = (field.size() + 2) * static_cast<std::size_t>(n);
        rec_.clear();
        if (n > 0) (rec_ += field) += "//";
        while (rec_.size() < total)
          rec_.append(rec_, 0, std::min(rec_.size(), total - rec_.size()));
        key_.assign(key);
        Answer("FormatRecord", fc_->FormatRecord(key_, rec_));
        break;
      }
      case 'M': {
        auto [number, value] = SplitTab(rest);
        const std::string key(number);
        std::string v(value);
        if (key == "1") v = out_;
        if (key == "2") v = SafeFileName(value);
        if (!reports_ && (key == "7" || key == "9")) break;
        Answer("HereIsAMessage", fc_->HereIsAMessage(key, v));
        break;
      }
      case 'G':
        fc_->GetAMessage(SmallNumber(rest, 1000) - 500);
        break;
      case 'E':
        Answer("ProcessEndOfFile", fc_->ProcessEndOfFile());
        break;
      case 'P':
        Answer("ProcessFormattedRecords", fc_->ProcessFormattedRecords());
        break;
      case 'N':
        fc_ = std::make_unique<Format_Class>();
        Configure();
        break;
      default:
        break;
    }
  }

  std::string out_;
  bool reports_;
  std::string problem_;
  // The record being handed over, kept so that its storage is reused from
  // one input to the next.
  static inline thread_local std::string key_;
  static inline thread_local std::string rec_;
  std::unique_ptr<Format_Class> fc_;
};

}  // namespace wcomp837::fuzzing
