#include "cli/terminal_text.h"

#include <unistd.h>

namespace wcomp837::cli {

bool IsTerminal(int fd) {
  return ::isatty(fd) == 1;
}

std::string EscapeControls(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace wcomp837::cli
