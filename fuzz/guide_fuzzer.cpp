// libFuzzer target: the implementation-guide check reads the input as a
// claim file and writes the functional acknowledgment of what it read; the
// acknowledgment is then checked as any interchange. No input may crash or
// hang the check, the acknowledgment must always be sound, and the input fed
// in pieces must be found as it is found whole: a fault aborts, so that the
// input is kept.
#include <cstdint>

#include "fuzz_inputs.h"
#include "sandbox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wcomp837::fuzzing;
  const Sandbox& box = TheSandbox();
  ExpectNoProblem(RunGuideInput((box.out / "ack.997").string(), Bytes(data, size)));
  return 0;
}
