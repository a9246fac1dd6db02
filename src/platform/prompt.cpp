#include "platform/prompt.h"

#include <cstdio>
#include <mutex>

namespace wcomp837 {
namespace {
std::mutex g_prompt_mutex;
std::shared_ptr<UserPrompt> g_prompt;
}  // namespace

bool DefaultPrompt::AskYesNo(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s\n%s\n(answered No)\n", title.c_str(), text.c_str());
  return false;
}

void DefaultPrompt::Notify(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s%s%s\n", title.c_str(), title.empty() ? "" : ": ", text.c_str());
}

void SetUserPrompt(std::shared_ptr<UserPrompt> prompt) {
  std::lock_guard<std::mutex> lock(g_prompt_mutex);
  g_prompt = std::move(prompt);
}

std::shared_ptr<UserPrompt> CurrentUserPrompt() {
  std::lock_guard<std::mutex> lock(g_prompt_mutex);
  if (!g_prompt) g_prompt = std::make_shared<DefaultPrompt>();
  return g_prompt;
}

}  // namespace wcomp837
