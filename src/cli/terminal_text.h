// Text the command line prints: host data (record keys, messages, paths)
// must not reach a terminal as control sequences.
#pragma once

#include <string>
#include <string_view>

namespace wcomp837::cli {

// True when the file descriptor is a terminal.
bool IsTerminal(int fd);
// The text with every control character (below 0x20, and 0x7F) written as
// "\xHH"; other bytes unchanged.
std::string EscapeControls(std::string_view text);
// EscapeControls when printing to a terminal, the text unchanged otherwise.
inline std::string ForOutput(std::string_view text, bool terminal) {
  return terminal ? EscapeControls(text) : std::string(text);
}

}  // namespace wcomp837::cli
