#include "cli/driver.h"

#include <algorithm>
#include <iostream>

#include "cli/terminal_text.h"

namespace wcomp837::cli {

std::string MessageBody(const std::string& entry) {
  const std::size_t start = entry.find("//");
  if (start == std::string::npos) return entry;
  std::string body = entry.substr(start + 2);
  if (body.size() >= 2 && body.compare(body.size() - 2, 2, "//") == 0) body.resize(body.size() - 2);
  return body;
}

int MessageType(const std::string& entry) {
  // " 1//..." or " 3//...": the type in signed text form.
  return entry.size() >= 4 && entry[0] == ' ' && entry.compare(2, 2, "//") == 0 &&
                 entry[1] >= '0' && entry[1] <= '9'
             ? entry[1] - '0'
             : 0;
}

std::vector<std::string> Driver::Messages() {
  std::vector<std::string> out;
  for (std::int32_t i = 1;; ++i) {
    std::string message = component_.GetAMessage(i);
    if (message == "END") break;
    out.push_back(std::move(message));
  }
  return out;
}

std::vector<std::string> Driver::Note(std::int16_t result) {
  worst_ = std::max<int>(worst_, result);
  // Some settings answer 0 whatever happened (a failed database connection
  // leaves its errors in the list), so the list is read after every call and
  // messages left behind an answer 0 count as messages waiting (1).
  std::vector<std::string> messages = Messages();
  if (!messages.empty()) worst_ = std::max(worst_, 1);
  return messages;
}

void Driver::Print(const std::string& where, std::int64_t lineNumber,
                   const std::vector<std::string>& messages) {
  if (beforeOutput_) beforeOutput_();
  for (const std::string& m : messages) {
    std::cerr << where << ": " << ForOutput(m, escapeControls_) << "\n";
    if (listener_) listener_(HeardMessage{where, lineNumber, m});
  }
}

void Driver::Take(const std::string& where, std::int16_t result) {
  const std::vector<std::string> messages = Note(result);
  if (!messages.empty()) Print(where, 0, messages);
}

void Driver::TakeForLine(std::int64_t lineNumber, std::int16_t result) {
  const std::vector<std::string> messages = Note(result);
  if (!messages.empty()) Print("line " + std::to_string(lineNumber), lineNumber, messages);
}

void Driver::TakeEndOfBatch(const std::string& where, std::int16_t result) {
  const std::vector<std::string> messages = Note(result);
  if (std::any_of(messages.begin(), messages.end(),
                  [](const std::string& m) { return MessageType(m) >= 3; })) {
    ClaimFileUnfit();
  }
  if (!messages.empty()) Print(where, 0, messages);
}

void Driver::Send(const std::string& key, const std::string& value) {
  Take("setting " + key, component_.HereIsAMessage(key, value));
}

std::vector<std::string> Driver::Ask(const std::string& key) {
  const std::int16_t result = component_.HereIsAMessage(key, "");
  if (result >= 3) {
    Take(key, result);
    return {};
  }
  std::vector<std::string> bodies;
  for (const std::string& m : Messages()) bodies.push_back(MessageBody(m));
  return bodies;
}

}  // namespace wcomp837::cli
