// libFuzzer target: the implementation-guide check reads the input as a
// claim file and writes the functional acknowledgment of what it read; the
// acknowledgment is then checked as any interchange. No input may crash or
// hang the check, and the acknowledgment must always be sound: an error in
// it aborts, so that the input is kept.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "x12/guide/ack997.h"
#include "x12/guide/check.h"

namespace {

using namespace wcomp837::guide;

class Errors : public CheckObserver {
 public:
  void Found(const Finding& f) override {
    if (f.severity == Severity::kError) {
      std::fprintf(stderr, "acknowledgment in error: %s\n", Describe(f).c_str());
      std::abort();
    }
  }
};

const std::string& AckPath() {
  static const std::string path = (std::filesystem::temp_directory_path() /
                                   ("wcomp837_guide_fuzz_" + std::to_string(::getpid())))
                                      .string();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  AckWriter ack(AckPath());
  CheckText(text, ack);
  if (!ack.Close()) return 0;
  std::ifstream in(AckPath(), std::ios::binary);
  std::ostringstream written;
  written << in.rdbuf();
  Errors errors;
  CheckText(written.str(), errors, {.guide = false});
  std::filesystem::remove(AckPath());
  return 0;
}
