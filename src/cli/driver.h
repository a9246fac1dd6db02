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

class Driver {
 public:
  // Called before a message is printed (the progress line clears itself).
  void SetBeforeOutput(std::function<void()> hook) { beforeOutput_ = std::move(hook); }

  // Notes a call's result; prints its messages on standard error, each after
  // "where: ". Messages behind an answer 0 count as an answer 1.
  void Take(const std::string& where, std::int16_t result);
  // Take for the record of an input line ("line N: "); the label is only
  // built when there is something to print.
  void TakeForLine(std::int64_t lineNumber, std::int16_t result);
  // Sends a setting or command and takes its answer.
  void Send(const std::string& key, const std::string& value);
  // Sends a query whose answer is its messages: they are returned instead of
  // printed. Only an error (3) counts for the exit status.
  std::vector<std::string> Ask(const std::string& key);

  // The host itself failed (its input could not be read): exit status 3.
  void HostFailed() { worst_ = 3; }
  Format_Class& component() { return component_; }
  // 0 when every call answered 0, else the worst answer (1 or 3).
  int ExitStatus() const { return worst_ >= 3 ? 3 : worst_; }

 private:
  std::vector<std::string> Messages();
  // Notes the result; the messages waiting, if any.
  std::vector<std::string> Note(std::int16_t result);
  void Print(const std::string& where, const std::vector<std::string>& messages);
  Format_Class component_;
  std::function<void()> beforeOutput_;
  int worst_ = 0;
};

}  // namespace wcomp837::cli
