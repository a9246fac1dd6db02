// Drives the component: sends calls, prints the messages each call leaves and
// keeps the worst result.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wcomp837/format_class.h"

namespace wcomp837::cli {

// The text of a message list entry without its type and trailing "//"
// (" 1//TOTALCLAIMS//3////" gives "TOTALCLAIMS//3//").
std::string MessageBody(const std::string& entry);
// The type of a message list entry (" 3//..." gives 3), 0 when unreadable.
int MessageType(const std::string& entry);

// One message the component left, with the call it answered.
struct HeardMessage {
  const std::string& where;  // "line 12", "setting 1", "end of file" ...
  std::int64_t lineNumber;   // input line of a record, 0 for other calls
  const std::string& entry;  // as GetAMessage gave it
};

class Driver {
 public:
  // escapeControls: standard error is a terminal (host data is shown escaped).
  explicit Driver(bool escapeControls) : escapeControls_(escapeControls) {}

  // Called before a message is printed (the progress line clears itself).
  void SetBeforeOutput(std::function<void()> hook) { beforeOutput_ = std::move(hook); }
  // Called for every message printed.
  void SetListener(std::function<void(const HeardMessage&)> listener) {
    listener_ = std::move(listener);
  }

  // Notes a call's result; prints its messages on standard error, each after
  // "where: ". Messages behind an answer 0 count as an answer 1.
  void Take(const std::string& where, std::int16_t result);
  // Take for the record of an input line ("line N: "); the label is only
  // built when there is something to print.
  void TakeForLine(std::int64_t lineNumber, std::int16_t result);
  // Take for the end of the batch and the final check: an error message left
  // there means the claim file is incomplete or failed the check (3).
  void TakeEndOfBatch(const std::string& where, std::int16_t result);
  // Sends a setting or command and takes its answer.
  void Send(const std::string& key, const std::string& value);
  // Sends a query whose answer is its messages: they are returned instead of
  // printed. Only an error (3) counts for the exit status.
  std::vector<std::string> Ask(const std::string& key);

  // The claim file may not be sent: the host's input failed or the host
  // declared a fatal error (exit status 3).
  void ClaimFileUnfit() {
    worst_ = 3;
    claimFileFit_ = false;
  }
  Format_Class& component() { return component_; }
  // 0 when every call answered 0, else the worst answer (1 or 3).
  int ExitStatus() const { return worst_ >= 3 ? 3 : worst_; }
  // No error at the end of the batch or in the final check.
  bool ClaimFileFit() const { return claimFileFit_; }

 private:
  std::vector<std::string> Messages();
  // Notes the result; the messages waiting, if any.
  std::vector<std::string> Note(std::int16_t result);
  void Print(const std::string& where, std::int64_t lineNumber,
             const std::vector<std::string>& messages);
  Format_Class component_;
  bool escapeControls_;
  std::function<void()> beforeOutput_;
  std::function<void(const HeardMessage&)> listener_;
  int worst_ = 0;
  bool claimFileFit_ = true;
};

}  // namespace wcomp837::cli
