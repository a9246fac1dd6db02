// The command line's answer to the component's Yes/No questions: asked on
// the terminal when standard input and standard error are terminals,
// otherwise answered No.
#pragma once

#include "platform/prompt.h"

namespace wcomp837::cli {

class TerminalPrompt : public UserPrompt {
 public:
  bool AskYesNo(const std::string& title, const std::string& text) override;
  void Notify(const std::string& title, const std::string& text) override;
};

}  // namespace wcomp837::cli
