// libFuzzer target: the settings-file readers. The input becomes the two
// settings files in the sandbox's component folder (split at the first form
// feed) and the lookups that read them run.
#include <cstdint>

#include "fuzz_inputs.h"
#include "sandbox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wcomp837::fuzzing;
  ExpectNoProblem(RunSettingsInput(TheSandbox().component.string(), Bytes(data, size)));
  return 0;
}
