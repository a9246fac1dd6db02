#include "cli/terminal_prompt.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace wcomp837::cli {
namespace {
bool Interactive() {
  return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1;
}
}  // namespace

bool TerminalPrompt::AskYesNo(const std::string& title, const std::string& text) {
  std::cerr << title << "\n" << text;
  if (!Interactive()) {
    std::cerr << "(no terminal: answered No)\n";
    return false;
  }
  std::cerr << "Yes or No? [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void TerminalPrompt::Notify(const std::string& title, const std::string& text) {
  std::cerr << title << (title.empty() ? "" : ": ") << text << "\n";
}

}  // namespace wcomp837::cli
