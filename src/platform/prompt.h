// Yes/No questions and notices that the host once showed as message boxes.
// The library answers No and writes notices to standard error; the command
// line asks on the terminal; tests script the answers.
#pragma once

#include <memory>
#include <string>

namespace wcomp837 {

class UserPrompt {
 public:
  virtual ~UserPrompt() = default;
  virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
  virtual void Notify(const std::string& title, const std::string& text) = 0;
};

// Answers No to every question; notices go to standard error.
class DefaultPrompt : public UserPrompt {
 public:
  bool AskYesNo(const std::string& title, const std::string& text) override;
  void Notify(const std::string& title, const std::string& text) override;
};

// The prompt in use (process-wide); nullptr restores the default.
void SetUserPrompt(std::shared_ptr<UserPrompt> prompt);
std::shared_ptr<UserPrompt> CurrentUserPrompt();

}  // namespace wcomp837
